// Whether text can be drawn at all: the program's text is Japanese, and
// without a face that has kana CreateFontA makes no font and every text call
// draws nothing.
#pragma once

// True when fontconfig knows a face with kana and Latin letters that
// FreeType can open.
bool japaneseFontAvailable();
