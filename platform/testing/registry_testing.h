// Test seams of the in-memory registry (platform/registry.h), Linux only: a Windows build has no
// definition of these (its registry is the system's), so a test that calls them does not link
// there.
#pragma once

// Empties the whole tree and forgets every dynamic key.
void regResetForTesting();
// Closes a key (and everything below it) to every access, which then answers kRegAccessDenied;
// `denied` false opens it again.
void regDenyAccessForTesting(int rootKey, const char *subKey, bool denied);
