#include "game/world/level/PatchLibraryTables.h"

#include <mutex>
#include <utility>

namespace zor {

namespace {

struct PublishedLibrary {
    std::mutex mutex;
    std::shared_ptr<const PatchLibraryTables> tables = std::make_shared<const PatchLibraryTables>();
};

PublishedLibrary& published() {
    static PublishedLibrary library;
    return library;
}

} // namespace

const TileSetDefinition& PatchLibraryTables::findTileSet(const std::string& name) const {
    static const TileSetDefinition empty;
    auto found = tileSets.find(name);
    return found == tileSets.end() ? empty : *found->second;
}

std::shared_ptr<const PatchSet> PatchLibraryTables::findPatchSet(const std::string& name) const {
    auto found = patchSets.find(name);
    return found == patchSets.end() ? nullptr : found->second;
}

const LevelLink* PatchLibraryTables::findLevelLink(const std::string& name) const { return levelLinks.find(name); }

std::shared_ptr<const PatchLibraryTables> patchLibrary() {
    PublishedLibrary& library = published();
    std::lock_guard<std::mutex> lock(library.mutex);
    return library.tables;
}

void setPatchLibrary(std::shared_ptr<const PatchLibraryTables> tables) {
    PublishedLibrary& library = published();
    std::shared_ptr<const PatchLibraryTables> previous;
    std::lock_guard<std::mutex> lock(library.mutex);
    // The previous tables are released after the lock, by `previous`.
    previous = std::exchange(library.tables, std::move(tables));
}

std::shared_ptr<const TileSetDefinition> findTileSet(const std::string& name) {
    std::shared_ptr<const PatchLibraryTables> library = patchLibrary();
    const TileSetDefinition& set = library->findTileSet(name);
    return std::shared_ptr<const TileSetDefinition>(std::move(library), &set);
}

std::shared_ptr<const PatchSet> findPatchSet(const std::string& name) { return patchLibrary()->findPatchSet(name); }

std::shared_ptr<const LevelLink> findLevelLink(const std::string& name) {
    std::shared_ptr<const PatchLibraryTables> library = patchLibrary();
    const LevelLink* link = library->findLevelLink(name);
    return link ? std::shared_ptr<const LevelLink>(std::move(library), link) : nullptr;
}

} // namespace zor
