// Marks a text for the program's translation catalogue in code that does not use Qt: the text
// itself, which the catalogue's tools find by this name as they find Qt's QT_TRANSLATE_NOOP.
// The program's GUI looks the text up under `context` when it shows it
// (QCoreApplication::translate); elsewhere it stays as written.
#pragma once

#define TRZ4_TRANSLATABLE(context, text) text
