#include "interp/Engine.h"

#include "interp/RegistryStore.h"

namespace orv {

Engine::Engine(Platform& platformRef, std::filesystem::path gameDir)
    : platform(platformRef), fs(gameDir), persist(std::move(gameDir)) {
    interp.registryFile = RegistryStore::defaultPath();
}

} // namespace orv
