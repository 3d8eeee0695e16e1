#pragma once

#include "base/notice.h"

namespace quorelle {

// The caption of the program's message boxes: the application's title.
inline constexpr char kNoticeCaption[] = "QuorelleCPL";

// Shows each notice as a modal message box with an OK button, owned by the main window.
class MessageBoxNotice final : public NoticeSink {
  public:
    void Show(const std::string& textUtf8) override;
};

}  // namespace quorelle
