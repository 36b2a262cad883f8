// A message-box presenter that records every box shown and answers with a chosen button; it is
// installed for its lifetime.
#pragma once

#include "platform/Dialogs.h"

#include <string>
#include <vector>

namespace qbt::test {

class RecordingPresenter final : public IMessagePresenter {
public:
  explicit RecordingPresenter(TModalResult Answer = mrCancel)
      : FAnswer(Answer), FPrevious(SetMessagePresenter(this)) {}
  ~RecordingPresenter() override { SetMessagePresenter(FPrevious); }
  RecordingPresenter(const RecordingPresenter&) = delete;
  RecordingPresenter& operator=(const RecordingPresenter&) = delete;

  TModalResult Present(const TMessageBoxRec& Box) override {
    Boxes.push_back(Box);
    return FAnswer;
  }
  // The texts shown, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> Result;
    for (const TMessageBoxRec& Box : Boxes) {
      Result.push_back(Box.Text);
    }
    return Result;
  }

  std::vector<TMessageBoxRec> Boxes;

private:
  TModalResult FAnswer;
  IMessagePresenter* FPrevious;
};

} // namespace qbt::test
