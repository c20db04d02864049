#pragma once
// The yes-or-no question, layout "message_confirm" with "button_yes", "button_no" and
// "label_question". Its owner forwards input, update and render while it exists, listens
// to the two answers and deletes it after one.
//
// The yes button answers at once, without an outro; the no button, "menu_accept" and
// "menu_cancel" play the outro and answer when it ends. "menu_left" and "menu_right" move
// the highlight silently.

#include <vector>

#include "Framework/core/events/EventList.h"
#include "Framework/menu/AbstractMenu.h"

namespace zor {

class ButtonMenuItem;

class ConfirmationMenu : public AbstractMenu {
public:
    // The layout must hold both buttons (CheckReleaseError naming the layout and the button).
    ConfirmationMenu(ISpriteManager& spriteManager, SystemComponents& gameContext, bool defaultYes);
    ~ConfirmationMenu() override;

    bool handleInput(InputState& input) override;
    // Nothing without a "label_question".
    void setQuestion(const std::string& text);

    int selected() const { return m_selected; }

    EventList<> yesEvent;
    EventList<> noEvent;

private:
    void select(int index);
    void playOutro(bool answerYes);
    void answer(bool yes, const char* cue);

    std::vector<EventConnection> m_connections;
    ButtonMenuItem* m_buttons[2];
    int m_selected = 0;
    bool m_answerYes = false;
    bool m_restartingOutro = false;
};

} // namespace zor
