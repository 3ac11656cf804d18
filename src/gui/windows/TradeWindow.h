// The trade window: the player's own offer and his partner's side by side,
// with "Cancel" while only the own offer stands, "Reject" and "Accept" once
// the partner's offer is there, and a waiting note after accepting. The
// interface opens it when the own offer arrives, refreshes it when the
// partner's does and removes it when the trade ends.
#pragma once

#include "gui/framework/DialogElements.h"
#include "gui/windows/SideWindow.h"

// Commands of the trade body (Accept sends TRADE_ACCEPT, the event
// component's command 1).
enum : int {
    TRADE_ACCEPT = 1,
    TRADE_CANCEL = 2,
};

class TradeBody : public CompositeComponent {
  public:
    static constexpr int SLOTS_PER_ROW = 2;  // on either side
    static constexpr int SLOT_PITCH = 36;
    static constexpr int MARGIN = 3;

    TradeBody();
    // Follows the offers: captions, the buttons, the height.
    void refresh();
    // The own offer came anew: what was accepted is no longer on the table
    // (refresh follows).
    void restartOffer();
    int getFullHeight() const;
    bool isAccepted() const { return Accepted; }
    TextButton* getCancelButton() const { return Cancel; }
    TextButton* getAcceptButton() const { return Accept; }
    Label* getWaitLabel() const { return Wait; }
    Label* getOwnCaption() const { return OwnName; }
    Label* getCounterCaption() const { return CounterName; }
    // The offered object under a point: side 0 own, 1 the partner's; false
    // when there is none.
    bool objectAt(int x, int y, int& Side, int& Index) const;

    void setSize(int Width, int Height) override;
    void draw(int Surface, int x, int y) override;
    bool leftButtonUp(int x, int y, int keys) override;
    bool rightButtonUp(int x, int y, int keys) override;
    void command(int number) override;

  private:
    void layout();
    int halfWidth() const;
    int offersTop() const;
    int rows() const;
    Label* OwnName;
    Label* CounterName;
    TextButton* Cancel;
    TextButton* Accept = NULL;
    Label* Wait = NULL;
    bool Accepted = false;
    bool HasCounter = false;
};

class TradeWindow : public SideWindow {
  public:
    TradeWindow();
    TradeBody* getTradeBody() const { return Body; }
    // Closing the window withdraws from the trade.
    void onClose() override;

  private:
    TradeBody* Body;
};

// After the trade messages: the own offer opens the window (or shows itself
// anew in the open one), the partner's offer refreshes it, the end of the
// trade removes it.
void OpenTradeWindow();
void RefreshTradeWindow();
void CloseTradeWindow();
