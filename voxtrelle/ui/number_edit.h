// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <wx/textentry.h>
#include <wx/window.h>

#include <optional>

namespace voxtrelle {

// Turns a text field (a wxTextCtrl or the field of a wxComboBox) into a field for whole numbers:
// text that would not be a number is refused, Up / Down and the wheel step the value, leaving the
// field repairs an empty or out-of-range value, and every change is posted to the notification
// window as EVT_VALUE_CHANGED. The field must outlive this object.
class NumberEdit {
 public:
  struct Options {
    int minimum = 0;
    int maximum = 100;
    int defaultValue = 0;
    int step = 1;
    bool allowNegative = false;
    bool showPlus = false;
    bool fixOnFocusLoss = true;
    int maxLength = 0;  // characters; 0 = no limit
  };

  // T is a window that is also a text entry (wxTextCtrl, wxComboBox).
  template <class T>
  NumberEdit(T* field, wxWindow* notify, const Options& options)
      : NumberEdit(static_cast<wxWindow*>(field), static_cast<wxTextEntry*>(field), notify,
                   options) {}
  NumberEdit(wxWindow* window, wxTextEntry* entry, wxWindow* notify, const Options& options);
  ~NumberEdit();
  NumberEdit(const NumberEdit&) = delete;
  NumberEdit& operator=(const NumberEdit&) = delete;

  // The text read as a decimal integer (0 when empty or not a number).
  int Value() const;
  // Writes "%d" of value limited to [minimum, maximum] (with "+" before positive values when
  // showPlus is set).
  void SetValue(int value);
  // While set, changes are not reported.
  void SetQuiet(bool quiet) { quiet_ = quiet; }

  // Whether text is a number this field accepts (the empty text is).
  bool IsAcceptable(const wxString& text) const;
  // The keyboard and wheel steps and the repair on leaving, also used by tests.
  void StepUp();
  void StepDown();
  void FixValue();

 private:
  void OnText(wxCommandEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnWheel(wxMouseEvent& event);
  void OnKillFocus(wxFocusEvent& event);
  void Report();

  wxWindow* window_;
  wxTextEntry* entry_;
  wxWindow* notify_;
  Options options_;
  wxString accepted_;  // the last text that was a number, put back when a change is refused
  bool quiet_ = false;
  bool restoring_ = false;
};

}  // namespace voxtrelle
