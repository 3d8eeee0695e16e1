#include "base/notice.h"

namespace quorelle {

namespace {
NoticeSink* g_sink = nullptr;
}

void SetNoticeSink(NoticeSink* sink) {
    g_sink = sink;
}

NoticeSink* GetNoticeSink() {
    return g_sink;
}

void ShowNotice(const std::string& textUtf8) {
    if (g_sink) g_sink->Show(textUtf8);
}

}  // namespace quorelle
