#include "game/world/physics/PhysicsSystem.h"

#include "Framework/core/log/LogHandler.h"

#include <sstream>
#include <string>

namespace zor {
namespace {

constexpr float CellPixels = 256.0f;
constexpr const char* LogSource = "Physics";

} // namespace

PhysicsSystem::PhysicsSystem(const fpRect& levelRect)
    : m_cellSystem(std::make_shared<CellSystem>(levelRect, fpVector2(CellPixels, CellPixels))),
      m_probe(new RectShape(fpRect(), false)),
      m_physicsSwitch(physicsDebugSwitches().physics) {}

void PhysicsSystem::placeObject(PhysicalObject& object) {
    for (const PhysicalBody& body : object.bodies()) {
        if (cellLayerOf(body.group) < CellGroupListCount) continue;
        std::ostringstream text;
        text << "A body of collision group 0x" << std::hex << body.group
             << " lies above the 19 groups and is not placed; nothing will find it";
        LogHandler::log(LogHandler::Warning, LogSource, text.str());
    }
    object.enterCellSystem(m_cellSystem);
}

void PhysicsSystem::removeObject(PhysicalObject& object) { object.leaveCellSystem(); }

void PhysicsSystem::setDebugCanvas(const std::shared_ptr<PhysicsDebugCanvas>& canvas) {
    m_canvas = canvas;
    m_cellSystem->setDebugCanvas(canvas);
}

void PhysicsSystem::debugDraw(const fpRect& view) {
    m_cellSystem->debugDraw(view);
    if (m_canvas && m_physicsSwitch.load(std::memory_order_relaxed)) {
        const PackedColor green = PackedColor::fromChannels(0, 255, 0, 255);
        const std::pair<const char*, std::int32_t> lines[] = {
            {"Awake: ", m_awakeCount}, {"Sleeping: ", m_sleepingCount}, {"Tests: ", m_testCount}};
        for (std::int32_t i = 0; i < 3; ++i)
            m_canvas->message(fpRect(10.0f, 80.0f + 15.0f * float(i), 1000.0f, 1000.0f),
                              lines[i].first + std::to_string(lines[i].second), green);
    }
    m_awakeCount = 0;
    m_sleepingCount = 0;
    m_testCount = 0;
}

} // namespace zor
