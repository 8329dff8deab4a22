// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zentora {

// Ids of the cutter's string table. The texts are UTF-8; "\t" is a real tab, "\r\n" a real
// carriage return and line feed, as the menus and message boxes take them.
enum TextId : int {
  kTextCaption = 103,          // window caption and every message box's caption
  kTextUsageTip = 110,         // TipStrip
  kTextLoadFailed = 111,       // "%s": our error text
  kTextPlayFailed = 112,       // "%s": our error text
  kTextFilesMissing = 113,     // a tool is missing
  kTextReinstall = 114,        // decoder or first parser missing
  kTextSystemBroken = 115,     // second parser or file source missing
  kTextNotLoaded = 116,        // status part 0, TimePanel when empty
  kTextLoaded = 117,           // status part 0
  kTextPlaying = 118,          // status part 0
  kTextPaused = 119,           // status part 0
  kTextStopped = 120,          // status part 0
  kTextMenuPlay = 121,         // menu 32773, not playing
  kTextMenuPause = 122,        // menu 32773, playing
  kTextMenuSetA = 123,         // menu 32792, A unset
  kTextMenuSetB = 124,         // menu 32792, B unset
  kTextMenuClearAB = 125,      // menu 32792, both set
  kTextVersionObsolete = 126,  // update dialog 138
  kTextNewVersion = 127,       // update dialog 138
  kTipPlay = 128,              // toolbar tooltips 128..140
  kTipPause = 129,
  kTipJumpBack = 130,
  kTipJumpForward = 131,
  kTipSetA = 132,
  kTipSetB = 133,
  kTipClearAB = 134,
  kTipOpen = 135,
  kTipCut = 136,
  kTipAPlus = 137,
  kTipAMinus = 138,
  kTipBPlus = 139,
  kTipBMinus = 140,
  kTextPlaybackError = 141,  // "%s": our error text
  kTextCutDone = 145,        // cutting dialog, static 1023
  kTextMinGap = 146,         // "%d": 200
  kTextMenuOnTop = 147,      // menu 32795, not on top
  kTextMenuOffTop = 148,     // menu 32795, on top
  kTextNewBrand = 149,       // status part 1, menu 32799
  kTextSelfOverwrite = 150,
  kTextCreateFailed = 151,  // "%S": the C runtime's error text
  kTextReplace = 152,       // "%s": file part of the path
  kTextReadFailed = 153,    // "%s" path, "%S" error text
  kTextWriteFailed = 154,   // "%s" path, "%S" error text
};

// The text of string id, or "" for an id the table does not hold.
const char* LoadText(int id);

// The text of id with its printf-style conversions (%s, %S, %d) replaced by args in order;
// "%%" becomes "%". Missing args leave the conversion empty.
std::string FormatText(int id, std::initializer_list<std::string_view> args);

// Texts of our own, shown where the platform's error texts would be.
const char* NoAudioDeviceText();  // no renderer can be started
const char* CutFailedText();      // the splitter failed or wrote nothing
const char* ToolNotFoundText();   // mp3splt or mp3val could not be found or started

}  // namespace zentora
