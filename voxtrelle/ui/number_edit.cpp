// SPDX-License-Identifier: GPL-3.0-or-later
#include "voxtrelle/ui/number_edit.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "voxtrelle/ui/value_changed_event.h"

namespace voxtrelle {

NumberEdit::NumberEdit(wxWindow* window, wxTextEntry* entry, wxWindow* notify,
                       const Options& options)
    : window_(window), entry_(entry), notify_(notify), options_(options) {
  accepted_ = entry_->GetValue();
  if (options_.maxLength > 0) entry_->SetMaxLength(options_.maxLength);
  window_->Bind(wxEVT_TEXT, &NumberEdit::OnText, this);
  // A choice from a combo box's list arrives as a selection; an unchanged text is ignored.
  window_->Bind(wxEVT_COMBOBOX, &NumberEdit::OnText, this);
  window_->Bind(wxEVT_KEY_DOWN, &NumberEdit::OnKeyDown, this);
  window_->Bind(wxEVT_MOUSEWHEEL, &NumberEdit::OnWheel, this);
  window_->Bind(wxEVT_KILL_FOCUS, &NumberEdit::OnKillFocus, this);
}

NumberEdit::~NumberEdit() {
  window_->Unbind(wxEVT_TEXT, &NumberEdit::OnText, this);
  window_->Unbind(wxEVT_COMBOBOX, &NumberEdit::OnText, this);
  window_->Unbind(wxEVT_KEY_DOWN, &NumberEdit::OnKeyDown, this);
  window_->Unbind(wxEVT_MOUSEWHEEL, &NumberEdit::OnWheel, this);
  window_->Unbind(wxEVT_KILL_FOCUS, &NumberEdit::OnKillFocus, this);
}

int NumberEdit::Value() const {
  const wxString text = entry_->GetValue();
  const long value = std::strtol(text.utf8_str().data(), nullptr, 10);
  return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

void NumberEdit::SetValue(int value) {
  value = std::clamp(value, options_.minimum, options_.maximum);
  wxString text = wxString::Format("%d", value);
  if (options_.showPlus && value > 0) text.Prepend("+");
  entry_->SetValue(text);  // reported through the text event like a typed change
}

bool NumberEdit::IsAcceptable(const wxString& text) const {
  if (options_.maxLength > 0 && static_cast<int>(text.length()) > options_.maxLength) {
    return false;
  }
  size_t i = 0;
  if (options_.allowNegative && !text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
  if (!options_.allowNegative && options_.showPlus && !text.empty() && text[0] == '+') i = 1;
  for (; i < text.length(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

void NumberEdit::StepUp() {
  const long next = static_cast<long>(Value()) + options_.step;
  SetValue(static_cast<int>(std::min<long>(next, options_.maximum)));
  entry_->SelectAll();
}

void NumberEdit::StepDown() {
  long next = static_cast<long>(Value()) - options_.step;
  if (!options_.allowNegative && next < 0) next = 0;
  SetValue(static_cast<int>(std::max<long>(next, options_.minimum)));
  entry_->SelectAll();
}

void NumberEdit::FixValue() {
  if (entry_->GetValue().empty()) {
    SetValue(options_.defaultValue);
  } else if (Value() < options_.minimum) {
    SetValue(options_.minimum);
  } else if (Value() > options_.maximum) {
    SetValue(options_.maximum);
  }
}

// Typed, pasted, deleted and set text all arrive here; what is not a number is put back.
void NumberEdit::OnText(wxCommandEvent& event) {
  event.Skip();
  if (restoring_) return;
  const wxString text = entry_->GetValue();
  if (!IsAcceptable(text)) {
    const long at = std::max(0L, entry_->GetInsertionPoint() - 1);
    restoring_ = true;
    entry_->ChangeValue(accepted_);
    entry_->SetInsertionPoint(std::min<long>(at, static_cast<long>(accepted_.length())));
    restoring_ = false;
    wxBell();
    return;
  }
  if (text == accepted_) return;
  accepted_ = text;
  Report();
}

void NumberEdit::OnKeyDown(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_UP:
    case WXK_NUMPAD_UP:
      StepUp();
      return;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
      StepDown();
      return;
    default:
      event.Skip();
  }
}

void NumberEdit::OnWheel(wxMouseEvent& event) {
  if (!entry_->IsEditable()) return;
  if (event.GetWheelRotation() > 0) StepUp();
  if (event.GetWheelRotation() < 0) StepDown();
}

void NumberEdit::OnKillFocus(wxFocusEvent& event) {
  event.Skip();
  if (options_.fixOnFocusLoss) FixValue();
}

void NumberEdit::Report() {
  if (quiet_ || notify_ == nullptr) return;
  auto* changed = new wxCommandEvent(EVT_VALUE_CHANGED, window_->GetId());
  changed->SetInt(Value());
  changed->SetEventObject(window_);
  notify_->GetEventHandler()->QueueEvent(changed);
}

}  // namespace voxtrelle
