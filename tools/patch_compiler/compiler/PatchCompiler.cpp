#include "tools/patch_compiler/compiler/PatchCompiler.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "Framework/core/Errors.h"
#include "game/definitions/MaterialDefinition.h"
#include "game/definitions/ResourceDefinition.h"
#include "tools/patch_compiler/compiler/PatchLibraryWriter.h"

namespace zor {

namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CheckReleaseError("Could not read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The names of a definitions file by registry position, read as the game reads them. A
// later record of a name that the game never finds by name keeps its position, unnamed.
template <class Definition>
std::vector<std::string> definitionNames(const fs::path& file, const char* root, const char* element) {
    DefinitionRegistry<Definition> registry(root, element, "Name");
    registry.loadText(file.string(), fileText(file));
    std::vector<std::string> names(registry.definitions().size());
    for (const auto& [name, position] : registry.nameIndex()) names[static_cast<std::size_t>(position)] = name;
    return names;
}

std::vector<fs::path> xmlFilesIn(const fs::path& folder) {
    if (!fs::is_directory(folder)) throw CheckReleaseError("Could not read the folder " + folder.string());
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".xml") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

std::vector<SourceFile> readSourceFolder(const fs::path& folder) {
    std::vector<SourceFile> sources;
    for (const fs::path& file : xmlFilesIn(folder)) sources.push_back({file.filename().string(), fileText(file)});
    return sources;
}

GameDataNames readGameDataNames(const fs::path& dataFolder) {
    GameDataNames names;
    names.resources =
        definitionNames<ResourceDefinition>(dataFolder / "Definitions/resources.xml", "ResourceDefinitions", "Resource");
    for (const std::string& material :
         definitionNames<MaterialDefinition>(dataFolder / "Definitions/materials.xml", "MaterialDefinitions", "Material"))
        names.materials.insert(material);
    for (const fs::path& level : xmlFilesIn(dataFolder / "Levels")) names.levels.insert(level.stem().string());
    return names;
}

std::string compilePatchLibrary(const std::vector<SourceFile>& sources, const GameDataNames& names) {
    return writePatchLibrary(parsePatchSources(sources, names));
}

} // namespace zor
