// Messages the user must see ("No device!" and the like). The program shows them as modal
// message boxes; tests install a sink that records them.
#pragma once

#include <string>

namespace quorelle {

struct NoticeSink {
    virtual ~NoticeSink() = default;
    virtual void Show(const std::string& textUtf8) = 0;
};

// The sink in use; null shows nothing. Not owned.
void SetNoticeSink(NoticeSink* sink);
NoticeSink* GetNoticeSink();

// Shows textUtf8 to the user and returns when the user has dismissed it.
void ShowNotice(const std::string& textUtf8);

}  // namespace quorelle
