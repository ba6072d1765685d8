// Marks a text for the translation files in code that does not use Qt: the text itself, which
// the files' update command finds by this name as it finds Qt's QT_TRANSLATE_NOOP. Whoever shows
// the text looks it up under `context` (trText of text/texts.h); unlooked-up it stays as written.
#pragma once

#define TRZ4_TRANSLATABLE(context, text) text
