// Message boxes. The system shows every error box and asks every Yes/No question through one
// process-wide presenter; the default one writes the text to standard error and answers as a
// box closed without a choice would. Tests install their own to see what was shown.
#pragma once

#include <string>
#include <string_view>

namespace qbt {

enum TMsgDlgType : unsigned char { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgButtons : unsigned char { mbOK, mbYesNo };
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct TMessageBoxRec {
  std::string Caption;
  std::string Text;
  TMsgDlgType Type = mtInformation;
  TMsgDlgButtons Buttons = mbOK;
};

class IMessagePresenter {
public:
  virtual ~IMessagePresenter() = default;
  // Shows Box and returns the button chosen; mrCancel when the box was closed without one.
  virtual TModalResult Present(const TMessageBoxRec& Box) = 0;
};

// The presenter in use.
IMessagePresenter& MessagePresenter();
// Installs Presenter (borrowed; nullptr brings the default back) and returns the one it replaces.
IMessagePresenter* SetMessagePresenter(IMessagePresenter* Presenter);

TModalResult MessageBox(std::string_view Text, std::string_view Caption, TMsgDlgType Type,
                        TMsgDlgButtons Buttons);
// An error box with an OK button.
void ShowErrorBox(std::string_view Text, std::string_view Caption = "Error");
void ShowWarningBox(std::string_view Text, std::string_view Caption = "Warning");
// A Yes/No question; true only for Yes.
bool ConfirmYesNo(std::string_view Text, std::string_view Caption = "Confirm");

} // namespace qbt
