#include "FrameCommands.h"

#include <unordered_map>

namespace zar {
namespace {
std::unordered_map<int, FrameCommandHandler>& handlers() {
    static std::unordered_map<int, FrameCommandHandler> h;
    return h;
}
}  // namespace

void RegisterFrameCommand(int id, FrameCommandHandler handler) { handlers()[id] = std::move(handler); }
void UnregisterFrameCommand(int id) { handlers().erase(id); }
bool HasFrameCommand(int id) { return handlers().count(id) != 0 && handlers().at(id); }
bool RunFrameCommand(int id, CMainFrame& frame) {
    auto it = handlers().find(id);
    if (it == handlers().end() || !it->second) return false;
    it->second(frame);
    return true;
}

}  // namespace zar
