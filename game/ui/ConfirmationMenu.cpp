#include "game/ui/ConfirmationMenu.h"

#include "Framework/audio/AudioHandler.h"
#include "Framework/core/Errors.h"
#include "Framework/graphics/screen/Screen.h"
#include "Framework/input/InputState.h"
#include "Framework/menu/ButtonMenuItem.h"
#include "Framework/menu/LabelMenuItem.h"
#include "Framework/menu/MenuNames.h"

namespace zor {
namespace {

const char* const Layout = "message_confirm";

int lastViewport() { return static_cast<int>(Screen::viewports().size()) - 1; }

ButtonMenuItem& requireButton(const SwitchMenuItem& root, const char* name) {
    ButtonMenuItem* button = root.findItemOf<ButtonMenuItem>(name);
    if (!button) {
        throw CheckReleaseError(std::string("Layout '") + Layout + "' has no button '" + name + "'");
    }
    return *button;
}

void playCue(const char* cue) {
    if (AudioHandler::exists()) AudioHandler::instance().playCue(cue, 0, 0.0f, 1.0f, 1.0f);
}

} // namespace

ConfirmationMenu::ConfirmationMenu(ISpriteManager& spriteManager, SystemComponents& gameContext, bool defaultYes)
    : AbstractMenu(spriteManager, gameContext, Layout, lastViewport()),
      m_buttons{&requireButton(root(), "button_yes"), &requireButton(root(), "button_no")} {
    m_buttons[0]->sound = menu::CueOk;
    m_connections.push_back(m_buttons[0]->pressed.connect(
        this, [](ConfirmationMenu* menu, ButtonPressEvent*) { menu->yesEvent.fire(); }));
    m_buttons[1]->sound = menu::CueCancel;
    m_connections.push_back(m_buttons[1]->pressed.connect(this, [](ConfirmationMenu* menu, ButtonPressEvent*) {
        menu->playOutro(false);
    }));
    select(defaultYes ? 0 : 1);
    setState(SwitchMenuItem::Intro);
    m_connections.push_back(outroFinished.connect(this, [](ConfirmationMenu* menu) {
        if (menu->m_restartingOutro) return;
        (menu->m_answerYes ? menu->yesEvent : menu->noEvent).fire();
    }));
}

ConfirmationMenu::~ConfirmationMenu() {
    m_connections.clear();
    yesEvent.disconnectAll();
    noEvent.disconnectAll();
}

void ConfirmationMenu::select(int index) {
    m_selected = index;
    for (int i = 0; i < 2; ++i) {
        m_buttons[i]->highlighted = i == index;
        m_buttons[i]->updateFrame();
    }
}

void ConfirmationMenu::playOutro(bool answerYes) {
    m_answerYes = answerYes;
    // A running outro that is restarted reports itself finished: that is no answer yet.
    m_restartingOutro = true;
    setState(SwitchMenuItem::Outro);
    m_restartingOutro = false;
}

void ConfirmationMenu::answer(bool yes, const char* cue) {
    playOutro(yes);
    playCue(cue);
}

void ConfirmationMenu::setQuestion(const std::string& text) {
    if (auto* label = root().findItemOf<LabelMenuItem>("label_question")) label->setTextIfChanged(text);
}

bool ConfirmationMenu::handleInput(InputState& input) {
    if (input.wasPressedOrRepeated(menu::InputLeft)) {
        select(0);
        return true;
    }
    if (input.wasPressedOrRepeated(menu::InputRight)) {
        select(1);
        return true;
    }
    if (input.wasPressed(menu::InputAccept)) {
        answer(m_selected == 0, m_selected == 0 ? menu::CueOk : menu::CueCancel);
        return true;
    }
    if (input.wasPressed(menu::InputCancel)) {
        answer(false, menu::CueCancel);
        return true;
    }
    return AbstractMenu::handleInput(input);
}

} // namespace zor
