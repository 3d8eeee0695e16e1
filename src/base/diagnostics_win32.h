// The program's diagnostic reports go to the debugger's output (a debug viewer, or Wine's
// debugstr channel).
#pragma once

namespace quorelle {

void WriteDiagnosticsToDebugger();

}  // namespace quorelle
