// The banishment form and the builder of its event.
#include "gui/dialogs/Banishment.h"

#include "core/Assert.h"
#include "net/Commands.h"

namespace {
constexpr int NAME_LENGTH = 29;
constexpr int COMMENT_LENGTH = 255;
}  // namespace

BanishmentBody::BanishmentBody(const char* Character) {
    const auto& P = SkinProperties().Pages;
    const int Half = (P.Width - P.RowGap) / 2;
    int Top = nextRowTop();
    addBeside(new Label("Name"), 0, Top);
    Name = addBeside(new EditField(NAME_LENGTH), P.FieldLabelWidth, Top);
    Name->setSize(P.Width - P.FieldLabelWidth, Name->getHeight());
    Name->setText(Character != NULL ? Character : "");
    Top = nextRowTop() + P.RowGap;
    addBeside(new Label("Reason"), 0, Top);
    addBeside(new Label("Action"), Half + P.RowGap, Top);
    Top = nextRowTop();
    Reasons = addBeside(new ListBox(CommandTarget(), CommandTarget()), 0, Top);
    Actions = addBeside(new ListBox(CommandTarget(), CommandTarget()), Half + P.RowGap, Top);
    Reasons->setSize(Half, P.ListHeight);
    Actions->setSize(Half, P.ListHeight);
    for (int i = 0; i < RULE_VIOLATION_REASONS; ++i) Reasons->addLine(GetRuleViolationReason(i));
    for (int i = 0; i < RULE_VIOLATION_ACTIONS; ++i) Actions->addLine(GetRuleViolationAction(i));
    Reasons->select(0);
    Actions->select(0);
    addRow(new Label("Comment"), 0, P.SectionGap);
    Comment = addRow(new EditField(COMMENT_LENGTH));
    Comment->setSize(P.Width, Comment->getHeight());
    Address = addRow(new CheckBox("IP Address Banishment"), 0, P.SectionGap);
    Address->setSize(P.Width, Address->getHeight());
    Focus.addMember(Name);
    Focus.addMember(Comment);
    Focus.setActive(Name->getLength() > 0 ? Comment : Name);
}

void BanishmentBody::keyPress(int code) {
    if (Focus.Active != NULL) Focus.Active->keyPress(code);
}

void BanishmentBody::command(int number) {
    okOrCancel(number, [&] {
        if (Name->getLength() > 0)
            SendRuleViolation(Name->getText(), std::max(Reasons->getSelectedLine(), 0), Comment->getText(),
                              std::max(Actions->getSelectedLine(), 0), Address->isTicked() ? 1 : 0);
    });
}

namespace {
Dialog* BuildBanishment(DialogEvent& Ev) {
    auto* Body = new BanishmentBody(Ev.Data);
    auto* D = new Dialog("Banishments & Namelocks", Body);
    D->setDefaultButton("Ok", CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    return D;
}
}  // namespace

void RegisterBanishmentDialog() {
    SetEventTextFields(MESSAGE_BANISHMENT, true, false);
    RegisterDialogBuilder(MESSAGE_BANISHMENT, BuildBanishment);
}
