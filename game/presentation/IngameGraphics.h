#pragma once
// The game-wide graphics of a running game: the light tile texture and the texture sets
// of the tiles, the decals and the beams. The in-game state owns it and lends it to the
// Game, which passes it to the presentation and the interface's screens.
//
// Made on the main thread and filled by the worker's jobs, in posting order, before the
// Game is built; only read afterwards. Deleted on the worker after the Game.

#include <memory>
#include <string>

namespace zor {

class IWorkQueue;
class SystemComponents;
class Texture;
class TextureSet;

class IngameGraphics {
public:
    static constexpr const char* LightTilePath = "Textures/lighttile7.png";
    static constexpr const char* TileAtlasPath = "Atlases/tiles/atlas.lst";
    static constexpr const char* DecalAtlasPath = "Atlases/decals/atlas.lst";
    static constexpr const char* BeamAtlasPath = "Atlases/beams/atlas.lst";

    explicit IngameGraphics(SystemComponents& components);
    ~IngameGraphics();
    IngameGraphics(const IngameGraphics&) = delete;
    IngameGraphics& operator=(const IngameGraphics&) = delete;

    // Posts the four loads, in the order below, to the worker. The object must outlive
    // them: the owner deletes it with a job posted later.
    void preload(IWorkQueue& worker);

    // Worker jobs. A missing list fails with "Texture set list file missing: " and its path.
    void loadLightTile();
    void loadTileAtlas();
    void loadDecalAtlas();
    void loadBeamAtlas();

    // Empty until their job has run.
    const std::shared_ptr<Texture>& lightTile() const { return m_lightTile; }
    const TextureSet* tiles() const { return m_tiles.get(); }
    const TextureSet* decals() const { return m_decals.get(); }
    const TextureSet* beams() const { return m_beams.get(); }
    SystemComponents& components() const { return m_components; }

private:
    // Declared first so that the sets go before the texture.
    std::shared_ptr<Texture> m_lightTile;
    std::unique_ptr<TextureSet> m_tiles;
    std::unique_ptr<TextureSet> m_decals;
    std::unique_ptr<TextureSet> m_beams;
    SystemComponents& m_components;
};

} // namespace zor
