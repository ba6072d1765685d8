// Test seams of the panel-facing pieces: the process-wide state of the COM-port manager
// (cardlink/Vek_Com.h) and of the values shown from answers (panel/cardvalues.h) back to its
// start, so that every test begins as the program does.
#pragma once

// Forgets every registration and returns the manager to its start values (chosen, open and
// last port 0, address "1"); an open port is closed first. The values shown from answers are
// forgotten too (cardValuesResetForTesting).
void vekComResetForTesting();

// Forgets every registration and every value's card, and shows every control that is still
// registered as current first.
void cardValuesResetForTesting();
