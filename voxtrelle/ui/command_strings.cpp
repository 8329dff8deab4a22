// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/command_strings.h"

#include "voxtrelle/ui/command_ids.h"

namespace voxtrelle {

namespace {

struct CommandText {
  int id;
  const char* text;
};

constexpr CommandText kCommandTexts[] = {
    {cmd::kOpen, "Open an existing document\nOpen"},
    {cmd::kSave, "Save the active document\nSave"},
    {cmd::kSaveAs, "Save the active document with a new name\nSave As"},
    {cmd::kExit, "Exit the application\nExit"},
    {cmd::kAbout, "Display program information, version number and copyright\nAbout"},
    {cmd::kPlay, "Play the selection, or the whole file when nothing is selected\nPlay"},
    {cmd::kPause, "Pause playback\nPause"},
    {cmd::kStop, "Stop playback\nStop"},
    {cmd::kSetStart, "Set the start of the selection at the play position\nSet Start of Selection"},
    {cmd::kSetEnd, "Set the end of the selection at the play position\nSet End of Selection"},
    {cmd::kSelectAll, "Select the whole file\nSelect All"},
    {cmd::kDeselect, "Turn off any current selection\nTurn off Any Current Selection"},
    {cmd::kConverterSite, "Visit the website of Bivandor Mono to Stereo Converter\nBivandor"},
    {cmd::kWebsite, "Visit the official website\nVisit Official Website"},
};

}  // namespace

wxString CommandString(int id) {
  for (const CommandText& entry : kCommandTexts) {
    if (entry.id == id) return wxString::FromUTF8(entry.text);
  }
  return wxString();
}

wxString CommandHelp(int id) {
  return CommandString(id).BeforeFirst('\n');
}

wxString CommandTip(int id) {
  const wxString text = CommandString(id);
  if (!text.Contains("\n")) return wxString();
  return text.AfterFirst('\n').Left(79);
}

}  // namespace voxtrelle
