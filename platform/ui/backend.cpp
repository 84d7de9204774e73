#include "platform/ui/backend.h"

#include "platform/ui/headless.h"

namespace ui {

namespace {
std::unique_ptr<Backend>& Current()
{
    static std::unique_ptr<Backend> backend;
    return backend;
}
}  // namespace

Backend& CurrentBackend()
{
    if (!Current()) InstallBackend(std::make_unique<HeadlessBackend>());
    return *Current();
}

void InstallBackend(std::unique_ptr<Backend> backend)
{
    Current() = std::move(backend);
    if (Current()) App().SetEventSource(Current()->EventSource());
}

bool HasBackend() { return Current() != nullptr; }

}  // namespace ui
