#include "platform/Dialogs.h"

#include <cstdio>

namespace qbt {

namespace {

class TStandardErrorPresenter final : public IMessagePresenter {
public:
  TModalResult Present(const TMessageBoxRec& Box) override {
    std::fprintf(stderr, "%s: %s\n", Box.Caption.c_str(), Box.Text.c_str());
    std::fflush(stderr);
    // Nobody can answer, which is what closing the box says.
    return mrCancel;
  }
};

TStandardErrorPresenter DefaultPresenter;
IMessagePresenter* CurrentPresenter = &DefaultPresenter;

} // namespace

IMessagePresenter& MessagePresenter() {
  return *CurrentPresenter;
}

IMessagePresenter* SetMessagePresenter(IMessagePresenter* Presenter) {
  IMessagePresenter* Previous = CurrentPresenter;
  CurrentPresenter = Presenter != nullptr ? Presenter : &DefaultPresenter;
  return Previous;
}

TModalResult MessageBox(std::string_view Text, std::string_view Caption, TMsgDlgType Type,
                        TMsgDlgButtons Buttons) {
  TMessageBoxRec Box;
  Box.Caption = std::string(Caption);
  Box.Text = std::string(Text);
  Box.Type = Type;
  Box.Buttons = Buttons;
  return MessagePresenter().Present(Box);
}

void ShowErrorBox(std::string_view Text, std::string_view Caption) {
  MessageBox(Text, Caption, mtError, mbOK);
}

void ShowWarningBox(std::string_view Text, std::string_view Caption) {
  MessageBox(Text, Caption, mtWarning, mbOK);
}

bool ConfirmYesNo(std::string_view Text, std::string_view Caption) {
  return MessageBox(Text, Caption, mtConfirmation, mbYesNo) == mrYes;
}

} // namespace qbt
