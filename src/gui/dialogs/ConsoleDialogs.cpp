// The console's dialogs and channel events: the channel choice ("New
// Channel"), the rule-violation question, and the channels the server opens,
// which become tabs without a dialog.
#include "gui/dialogs/ConsoleDialogs.h"

#include "core/Status.h"
#include "core/TalkModes.h"
#include "core/Utils.h"
#include "gui/console/Console.h"
#include "gui/framework/Dialogs.h"
#include "gui/framework/SkinProperties.h"
#include "net/Commands.h"
#include "net/GameMessages.h"

// ---- A caption over one field ----

FieldBody::FieldBody(const char* Caption, int MaxLength, const char* Text) {
    auto* Above = new Label(Caption);
    addChild(Above);
    Field = new EditField(MaxLength);
    Field->setSize(SkinProperties().CharacterList.Width, Field->getHeight());
    Field->setPosition(0, Above->getHeight() + SkinProperties().CharacterList.ListGap);
    if (Text != NULL) {
        Field->setText(Text);
        Field->setCursor(Field->getLength());
    }
    Field->setFocused(true);
    addChild(Field);
    Component::setSize(Field->getWidth(), Field->getY() + Field->getHeight());
}

void FieldBody::keyPress(int code) {
    if (code == keys::ENTER)
        command(DIALOG_OK);
    else if (code == keys::ESCAPE)
        command(DIALOG_CANCEL);
    else
        Field->keyPress(code);
}

void FieldBody::command(int number) {
    if (number == DIALOG_OK && Field->getLength() > 0) accept(Field->getText());
    if (number == DIALOG_OK || number == DIALOG_CANCEL) SetInputMode(INPUT_IDLE);
}

Dialog* OkCancelDialog(const char* Caption, Component* Body, const char* Ok) {
    auto* D = new Dialog(Caption, Body);
    D->setDefaultButton(Ok, CommandTarget(Body, DIALOG_OK));
    D->setCancelButton("Cancel", CommandTarget(Body, DIALOG_CANCEL));
    return D;
}

// ---- The channel choice ----

namespace {
// The channels the server offered, and a name for a private conversation;
// a name typed wins over the chosen channel.
class ChannelChoiceBody : public CompositeComponent {
  public:
    ChannelChoiceBody() {
        auto* Caption = new Label("Open a channel:");
        addChild(Caption);
        List = new ListBox(CommandTarget(), CommandTarget(this, DIALOG_OK));
        for (int n = 0; n < GetNumberOfChannels(); ++n) List->addLine(GetChannelEntry(n).Name);
        if (List->getLines() > 0) List->select(0);
        const auto& P = SkinProperties().CharacterList;
        List->setSize(P.Width, P.ListHeight);
        List->setPosition(0, Caption->getHeight() + P.ListGap);
        addChild(List);
        auto* Private = new Label("Please enter a character name:");
        Private->setPosition(0, List->getY() + List->getHeight() + P.ListGap);
        addChild(Private);
        Name = new EditField(SPEAKER_NAME_LENGTH - 1);
        Name->setSize(P.Width, Name->getHeight());
        Name->setPosition(0, Private->getY() + Private->getHeight() + P.ListGap);
        Name->setFocused(true);
        addChild(Name);
        Component::setSize(P.Width, Name->getY() + Name->getHeight());
    }
    void keyPress(int code) override {
        if (code == keys::ENTER)
            command(DIALOG_OK);
        else if (code == keys::ESCAPE)
            command(DIALOG_CANCEL);
        else if (code == keys::UP || code == keys::DOWN)
            List->keyPress(code);
        else
            Name->keyPress(code);
    }
    void command(int number) override {
        if (number == DIALOG_OK) {
            if (Name->getLength() > 0)
                SendOpenPrivateChannel(Name->getText());
            else if (In(List->getSelectedLine(), 0, GetNumberOfChannels() - 1))
                SendOpenChannel(GetChannelEntry(List->getSelectedLine()).ID);
        }
        if (number == DIALOG_OK || number == DIALOG_CANCEL) SetInputMode(INPUT_IDLE);
    }
    ListBox* getList() const { return List; }
    EditField* getName() const { return Name; }

  private:
    ListBox* List;
    EditField* Name;
};
}  // namespace

Dialog* ChannelChoiceDialog() { return OkCancelDialog("New Channel", new ChannelChoiceBody, "Open"); }

// ---- The rule-violation question ----

namespace {
class ReportBody : public FieldBody {
  public:
    ReportBody() : FieldBody("Describe the rule violation:", TEXTLINE_TEXT - 1) {}

  protected:
    void accept(const char* Question) override {
        PostEvent(CONSOLE_EVENT_REPORT, NewEventText(Question), 0);
    }
};
}  // namespace

Dialog* ReportDialog() { return OkCancelDialog("Report Rule Violation", new ReportBody, "Ok"); }

// ---- The console's events ----

namespace {

// The channels the server opens become tabs; no dialog opens for them.
Dialog* OpenChannel(DialogEvent& Ev) {
    OpenChannelTab(TALK_CHANNEL_CALL, CHANNEL_PUBLIC, "", int(Ev.E.Data), Ev.Extra);
    return NULL;
}
Dialog* OpenOwn(DialogEvent& Ev) {
    OpenOwnChannel(int(Ev.E.Data), Ev.Extra);
    return NULL;
}
Dialog* OpenPrivate(DialogEvent& Ev) {
    OpenChannelTab(TALK_PRIVATE_MESSAGE, CHANNEL_PRIVATE, Ev.Extra, -1, Ev.Extra);
    return NULL;
}
// The game message has opened the request channel already.
Dialog* RequestChannelOpened(DialogEvent&) { return NULL; }
Dialog* Report(DialogEvent& Ev) {
    ReportRuleViolation(EventDataIsText(Ev.E.Type) ? EventText(Ev.E.Data) : NULL);
    return NULL;
}
Dialog* BuildReportDialog(DialogEvent&) { return ReportDialog(); }
Dialog* BuildChannelChoice(DialogEvent&) { return ChannelChoiceDialog(); }

}  // namespace

void RegisterConsoleDialogs() {
    RegisterDialogBuilder(GAME_EVENT_CHANNEL, OpenChannel);
    RegisterDialogBuilder(GAME_EVENT_OWNCHANNEL, OpenOwn);
    RegisterDialogBuilder(GAME_EVENT_PRIVATECHANNEL, OpenPrivate);
    RegisterDialogBuilder(GAME_EVENT_REQUESTCHANNEL, RequestChannelOpened);
    RegisterDialogBuilder(CONSOLE_EVENT_REPORT, Report);
    RegisterDialogBuilder(CONSOLE_EVENT_DIALOG_REPORT, BuildReportDialog);
    RegisterDialogBuilder(GAME_EVENT_CHANNELLIST, BuildChannelChoice);
}
