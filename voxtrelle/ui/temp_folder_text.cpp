// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/temp_folder_text.h"

#include <wx/filename.h>

#include "voxtrelle/audio/temp_folder.h"

namespace voxtrelle {

wxString TempFolderText(uint64_t needed) {
  const TempFolderProblem problem = check_temp_folder(needed);
  const wxString folder = wxString::FromUTF8(problem.folder);
  const auto size = [](uint64_t bytes) {
    return wxFileName::GetHumanReadableSize(wxULongLong(bytes), "0 B", 1, wxSIZE_CONV_IEC);
  };
  switch (problem.kind) {
    case TempFolderProblem::Kind::kNone:
      return {};
    case TempFolderProblem::Kind::kMissing:
      return wxString::Format("The temporary folder \"%s\" does not exist.", folder);
    case TempFolderProblem::Kind::kNotFolder:
      return wxString::Format("The temporary folder \"%s\" is not a folder.", folder);
    case TempFolderProblem::Kind::kNotWritable:
      return wxString::Format("The temporary folder \"%s\" cannot be written to.", folder);
    case TempFolderProblem::Kind::kNoSpace:
      if (problem.needed == 0) {
        return wxString::Format("The temporary folder \"%s\" is full.", folder);
      }
      return wxString::Format(
          "Not enough space in the temporary folder \"%s\":\n%s needed, %s free.", folder,
          size(problem.needed), size(problem.available));
  }
  return {};
}

}  // namespace voxtrelle
