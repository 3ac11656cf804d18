// Dialogs of the game itself (opened by events while the player plays).
#include "gui/framework/Dialogs.h"

#include "core/Assert.h"
#include "gui/framework/SkinProperties.h"

#include <string>

namespace {
enum : int { MOVE_COUNT_CHANGED = 3 };

std::string CountText(int Count) { return "Objects to move: " + std::to_string(Count); }
}  // namespace

MoveObjectsBody::MoveObjectsBody(const MoveRecord& Move) : Move(Move) {
    const auto& P = SkinProperties().MoveObjects;
    auto* Picture = new ObjectPicture(P.PictureSize, true);
    Picture->setObject(Move.Type, uint32_t(Move.Data));
    addChild(Picture);
    const int Total = Move.Data;
    Number = new Label(CountText(Total).c_str());
    addChild(Number);
    // Starts at the whole pile; arrows and the knob choose fewer.
    Count = new Slider(1, Total, Total, 1, CommandTarget(this, MOVE_COUNT_CHANGED));
    addChild(Count);
    const int Left = Picture->getWidth() + P.Gap;
    Number->setPosition(Left, (Picture->getHeight() - Number->getHeight()) / 2);
    Count->setSize(P.Width, SkinProperties().ScrollBar.Thickness);
    Count->setPosition(0, Picture->getHeight() + P.Gap);
    Component::setSize(P.Width, Count->getY() + Count->getHeight());
}

void MoveObjectsBody::keyPress(int code) {
    switch (code) {
    case keys::ENTER: command(DIALOG_OK); break;
    case keys::ESCAPE: command(DIALOG_CANCEL); break;
    case keys::LEFT:
    case keys::DOWN: Count->setValue(Count->getValue() - 1); break;
    case keys::RIGHT:
    case keys::UP: Count->setValue(Count->getValue() + 1); break;
    default: break;
    }
}

void MoveObjectsBody::command(int number) {
    if (number == MOVE_COUNT_CHANGED) {
        Number->setText(CountText(Count->getValue()).c_str(), false);
        return;
    }
    if (number == DIALOG_OK)
        SendMoveObject(Move.From, Move.Type, Move.Stack, Move.x, Move.y, Move.z, Count->getValue());
    SetInputMode(INPUT_IDLE);
}
