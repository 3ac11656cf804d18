// The help texts and event hints, in the markup of the dialog elements:
// <B> light red, <N> normal, <H> yellow, <FONT=n>, <INDENT=n>, <br=n> extra
// pixels before the next line, <hspace=n>, <SKIN=%d> a picture of the
// interface whose number is taken from the entry's skin list in order.
//
// A help text opens with its title, "<B>Title<N>\n<br=5>". A line that shows
// a button starts at the left edge with the button's picture and indents its
// words beside it; the indent is set back before the line ends, so that the
// next picture starts at the edge again.
//
// Sections: 1. Screen areas (10-23)  2. Things on the map (1000-1002)
//           3. Map objects (1100-1112)  4. Event hints (1-14)
#include "gui/help/HelpTexts.h"

#include "core/Assert.h"
#include "gui/help/EventHints.h"

namespace {

const HelpTextEntry HELP_TEXTS[] = {
    // ---- 1. Screen areas ----
    {10, {61, 66, 68, 62, 64}, R"(<B>Automap<N>
<br=5>The automap draws every place you have seen, so you always know your way back. It remembers them between games.
<br=4><SKIN=%d><INDENT=50>Click the compass rose to look further in that direction; "Centre" brings the map back to you.<INDENT=0>
<br=14><SKIN=%d><INDENT=26>Zoom in (Alt+End)<INDENT=0>
<br=6><SKIN=%d><INDENT=26>Zoom out (Alt+Home)<INDENT=0>
<br=6><SKIN=%d><INDENT=26>Show the floor above (Alt+PageUp)<INDENT=0>
<br=6><SKIN=%d><INDENT=26>Show the floor below (Alt+PageDown)<INDENT=0>
<br=6>Right-click a spot on the automap to mark it.)"},

    {11, {0}, R"(<B>Status Bars<N>
<br=5>The red bar shows your <H>hit points<N>: your health. When it runs empty, your character dies, so step back from a fight while there is some red left. Hit points come back slowly with time.
<br=5>The blue bar shows your <H>mana<N>, the power that spells use up. It returns slowly by itself.
<br=5>The number beside each bar is the exact value.)"},

    {12, {134}, R"(<B>Inventory<N>
<br=5>These are the things you wear and carry: helmet, amulet, backpack, armour, both hands, legs, feet, ring and ammunition. Drag an object onto a slot to put it on, or out of a slot onto the map or into a container to take it off.
<br=5>Right-click an object to see what you can do with it; Shift+click looks at it, Ctrl+click uses it.
<br=5><H>Cap<N> is the weight you can still carry, <H>Soul<N> your soul points. The small pictures show what is happening to you (poison, fire, a fight...); point at one to read it.
<br=5><SKIN=%d><INDENT=18>makes the inventory small, to leave room for other windows.<INDENT=0>)"},

    {13, {136}, R"(<B>Minimised Inventory<N>
<br=5>The inventory is folded away: only your free capacity (<H>Cap<N>), your soul points and the pictures of your condition are shown.
<br=5><SKIN=%d><INDENT=18>opens the whole inventory again.<INDENT=0>)"},

    {14, {99, 101, 103, 105, 107, 109, 110}, R"(<B>Combat Controls and Other Buttons<N>
<br=5><SKIN=%d><hspace=2><SKIN=%d><hspace=2><SKIN=%d><INDENT=74>How you fight: offensive hits harder but guards less, defensive guards more, balanced is between.<INDENT=0>
<br=4><SKIN=%d><hspace=2><SKIN=%d><INDENT=50>Stand still while you fight, or chase your opponent.<INDENT=0>
<br=6><SKIN=%d><hspace=2><SKIN=%d><INDENT=50>Secure mode keeps you from attacking characters without a mark; switch it off to attack anyone.<INDENT=0>
<br=4><H>Stop<N> ends what you are doing (Esc). <H>Options<N> opens the settings and <H>Help<N> this help menu.)"},

    {15, {99, 101, 103, 105, 107, 109, 110, 111, 113}, R"(<B>Combat Controls and Other Buttons<N>
<br=5><SKIN=%d><hspace=2><SKIN=%d><hspace=2><SKIN=%d><INDENT=74>How you fight: offensive hits harder but guards less, defensive guards more, balanced is between.<INDENT=0>
<br=4><SKIN=%d><hspace=2><SKIN=%d><INDENT=50>Stand still while you fight, or chase your opponent.<INDENT=0>
<br=6><SKIN=%d><hspace=2><SKIN=%d><INDENT=50>Secure mode keeps you from attacking characters without a mark; switch it off to attack anyone.<INDENT=0>
<br=4><SKIN=%d><INDENT=26>Options: the settings of the client.<INDENT=0>
<br=6><SKIN=%d><INDENT=26>Help: the help menu, with this help, the hints and the tutors.<INDENT=0>
<br=6><H>Stop<N> ends what you are doing (Esc).)"},

    {16, {0}, R"(<B>Control Buttons<N>
<br=5><H>Skills<N> opens or closes the skills window (Ctrl+S), <H>Battle<N> the list of creatures around you (Ctrl+B) and <H>VIP<N> your list of friends (Ctrl+P).
<br=5><H>Logout<N> leaves the game (Ctrl+Q or Ctrl+L). Always log out this way: a character whose player just closes the window may stay in the world for a while.)"},

    {17, {0}, R"(<B>Skills<N>
<br=5>Your experience, level, hit points, mana, soul points, capacity and magic level, and below them your fighting skills.
<br=5>A skill grows by using it: fighting with a sword trains Sword Fighting, blocking with a shield trains Shielding. The bar under a skill shows how far you are to its next level.
<br=5>Right-click the window to choose which bars are shown.)"},

    {18, {0}, R"(<B>Battle<N>
<br=5>Every creature you can see nearby is listed here, with its health.
<br=5>Click a name to attack it, click again to stop. Shift+click looks at it; right-click shows everything else you can do, such as follow it.)"},

    {19, {0}, R"(<B>VIP<N>
<br=5>Your list of friends. Names in green are in the game now, names in red are not. You can ask to be told when a friend logs in.
<br=5>Right-click the list to add a friend, or a name to edit, message or remove it.)"},

    {20, {122}, R"(<B>Open Containers<N>
<br=5>An open bag, backpack or chest shows its contents here. Drag objects in and out of it, or onto another container. Right-click an object to use it or look at it.
<br=5><SKIN=%d><INDENT=18>shows the container that this one lies in.<INDENT=0>
<br=5>The window's own buttons fold it or close it.)"},

    {21, {0}, R"(<B>Trade<N>
<br=5>A trade with another player: your offer at the top, your partner's below it once it arrives.
<br=5><H>Accept<N> agrees to the exchange; it happens when both of you have accepted. <H>Reject<N> or <H>Cancel<N> calls the trade off. Look closely at what you are offered before you accept!)"},

    {22, {193, 195, 197}, R"(<B>Console<N>
<br=5>Everything said near you and every message of the game appears here. Just type and press Enter to talk.
<br=5>The three buttons beside the input line choose how loud you speak:
<br=4><SKIN=%d><INDENT=26>Say: heard by everybody who sees you.<INDENT=0>
<br=6><SKIN=%d><INDENT=26>Whisper: only those next to you hear the words.<INDENT=0>
<br=6><SKIN=%d><INDENT=26>Yell: heard from afar, in capital letters.<INDENT=0>
<br=6>Start a line with <H>#w<N>, <H>#y<N> or <H>#s<N> to whisper, yell or say it once, or with <H>*Name*<N> to send a private message to that player.)"},

    {23, {191, 188, 184, 186}, R"(<B>Console Channels<N>
<br=5>Each tab is a conversation: the default tab, chat channels and private talks. Click a tab to read it; a red tab has news for you. Ctrl+PageDown and Ctrl+PageUp go to the next tab right and left, Ctrl+Home to the default tab; the small arrows do the same when not all tabs fit.
<br=4><SKIN=%d><INDENT=26>Messages: shows the game's own messages in this tab too, or not.<INDENT=0>
<br=6><SKIN=%d><INDENT=26>Save: keeps this tab's text in a file beside the game.<INDENT=0>
<br=6><SKIN=%d><INDENT=26>Channels: lists the chat channels you may join.<INDENT=0>
<br=6><SKIN=%d><INDENT=26>Close: leaves the channel of this tab.<INDENT=0>)"},

    // ---- 2. Things on the map ----
    {1000, {0}, R"(<B>Creatures<N>
<br=5>Animals, monsters, the people of the world and other players. The bar above a creature shows its health.
<br=5>Alt+click attacks it; Alt+click it again to stop. Shift+click looks at it, and right-click offers everything else, such as following it.
<br=5>Ctrl+N shows or hides the names and health bars.)"},

    {1001, {0}, R"(<B>Your Character<N>
<br=5>This is you. Walk with the arrow keys, or click a field to go there. Ctrl+arrow turns you on the spot.
<br=5>The bar over your head is your health, as in the red bar on the right.)"},

    {1002, {0}, R"(<B>Containers<N>
<br=5>Bags, chests, barrels and the like hold other things. Ctrl+click (or right-click) opens one in a window on the right, if you stand next to it.
<br=5>Drag objects into it to store them.)"},

    // ---- 3. Map objects ----
    {1100, {0}, R"(<B>Ladders<N>
<br=5>A ladder leads to the floor above. Stand next to it and Ctrl+click (or right-click) it to climb up.)"},

    {1101, {0}, R"(<B>Sewer Grates<N>
<br=5>A grate leads down into the tunnels below. Ctrl+click (or right-click) it to climb down. Take care: it is dark down there.)"},

    {1102, {0}, R"(<B>Dungeon Floor<N>
<br=5>A hole, a trapdoor or a spot for a rope: the way between the surface and what lies below. Step into a hole to go down; use a rope on a rope spot to climb back up.)"},

    {1103, {0}, R"(<B>Levers<N>
<br=5>A lever works something somewhere: a door, a bridge, a secret. Ctrl+click (or right-click) it to pull it.)"},

    {1104, {0}, R"(<B>Doors<N>
<br=5>Ctrl+click (or right-click) a door to open or close it. Some doors are locked and need a key.)"},

    {1105, {0}, R"(<B>Special Doors<N>
<br=5>A gate that lets only certain people through: those its owner has listed. The owner changes the list by using its key on the gate.)"},

    {1106, {0}, R"(<B>Stairs<N>
<br=5>Stairs and ramps lead to another floor. Simply walk onto them.)"},

    {1107, {0}, R"(<B>Mailboxes<N>
<br=5>Drop a letter or a parcel into a mailbox to send it to another player.)"},

    {1108, {0}, R"(<B>Depot boxes<N>
<br=5>Your own safe store: Ctrl+click (or right-click) it to open your depot. What you keep there is yours alone and stays there while you are away, whichever depot box you open it from.)"},

    {1109, {0}, R"(<B>Dustbins<N>
<br=5>A place for rubbish: drag what you no longer need into it, and do not keep anything you want in there.)"},

    {1110, {0}, R"(<B>Stone Piles<N>
<br=5>A heap of stones. Some of them hide something; most are just stones.)"},

    {1111, {0}, R"(<B>Signs<N>
<br=5>Shift+click a sign or a blackboard to read it. Some boards let you write on them too.)"},

    {1112, {0}, R"(<B>Books and Scrolls<N>
<br=5>Use a book or a scroll (Ctrl+click or right-click) to read it; blank ones can be written on.)"},
};

const EventHintEntry HINTS[EVENTHELPS] = {
    // ---- 4. Event hints ----
    {"First Login", R"(<b>Welcome to Vorna!<n>
<br=5>This is your character, in the middle of the map. Walk with the arrow keys or by clicking the place you want to go to.
<br=5>Look at things with Shift+click and use them with Ctrl+click. Type into the console below the map and press Enter to talk.
<br=5>If you wonder what something is, click <H>Help<N> on the right and choose <H>Client Help<N>: then point at anything on the screen.
<br=5>Hints like this one come up the first time something new happens. Have fun!)"},

    {"Haldor", R"(%s is one of the people of Demoland who live in the world rather than play in it. People like %s are called NPCs.
<br=5>To talk to one, stand close and type <H>hi<N> into the console, then press Enter. The answer comes in yellow over the speaker's head and in the console.
<br=5>NPCs understand some words: ask them about their <H>job<N>, or about what they mentioned. Say <H>bye<N> when you are done.)"},

    {"The Crossroads", R"(You stand at the crossroads in the middle of Demoland.
<br=5>The road leads east to the post office, where your depot is, and on to the lake. The stone house of the inn stands to the north-east, and the path north leads up towards the forest. The path south ends at a hole in the ground: the way into the cave.
<br=5>The sign on the square tells you more: Shift+click it to read it.)"},

    {"Master Corvin", R"(%s teaches the newcomers of Demoland. Greet the teacher with <H>hi<N> and ask for <H>help<N>: you will hear how to grow strong.
<br=5>Listen well: what he tells you is what every adventurer has to learn at the start.)"},

    {"Buying & Selling", R"(This is a merchant. Merchants buy what you find and sell what you need.
<br=5>Greet him with <H>hi<N>, then say <H>trade<N> to hear what he deals in. Money is gold coins: keep them in your backpack, and the merchant takes what he asks for from it.
<br=5>Compare prices: not every merchant pays the same.)"},

    {"Underground", R"(You have gone below the surface.
<br=5>Caves, cellars and dungeons are dark. Lamps on the walls and a torch in your hand help you see. Stay close to the way back: stairs, ramps and ladders lead up again.
<br=5>The automap shows each floor on its own; its arrow buttons change the floor shown.)"},

    {"First Experience Points", R"(You have gained your first experience points!
<br=5>You gain experience by defeating creatures. It is shown in the skills window (the <H>Skills<N> button on the right).
<br=5>When you have enough, you reach the next level and grow stronger.)"},

    {"Advancing to Level 2", R"(Well done: you have reached level 2!
<br=5>With every level:
<br=3><indent=0>- <indent=15>your hit points grow, so you last longer in a fight,<indent=0>
<br=2>- <indent=15>your mana grows, for more and stronger spells,<indent=0>
<br=2>- <indent=15>and you can carry more.<indent=0>
<br=5>Stronger creatures give more experience, but are more dangerous too. Grow step by step.)"},

    {"First Skill Advance", R"(One of your skills has advanced!
<br=5>Skills grow with use: fighting with a weapon trains that weapon's skill, blocking blows with a shield trains Shielding. The higher a skill, the better you hit or guard with it.
<br=5>The skills window (<H>Skills<N> button) lists all of them with how far each has come.)"},

    {"Reaching Level 8", R"(Level 8! You are no longer a newcomer.
<br=5>Creatures out in the wild will now be a fair match for you. Go in company: fighting side by side with other players is safer, and more fun.
<br=5>Keep a way back in mind, and your hit points in view.)"},

    {"Continent", R"(You have left the village behind and stepped out into the wide lands.
<br=5>Out here the creatures are wilder than the chickens of the village: a wolf bites hard. Watch your health bar and go back to the village when it runs low.
<br=5>The automap draws where you have been, so you can find your way home.)"},

    {"Depot", R"(This is the post office with the depot box.
<br=5>Your depot is your own safe store: Ctrl+click (or right-click) the depot box to open it and drag in what you do not want to carry. Nobody else can take it, and it stays there while you are away.
<br=5>The mailbox beside it is for letters and parcels to other players.)"},

    {"Player Killing", R"(<b>Warning: a marked player is near!<n>
<br=5>A skull beside a name shows that this player has attacked or killed other players. Such players may attack you too.
<br=5>If you attack a player without a mark, you are marked yourself for a while, and players who keep killing others are punished.
<br=5>Secure mode (the combat controls) keeps you from attacking an unmarked player by mistake.)"},

    {"Level 20 and Security Information", R"(Level 20! You are a seasoned adventurer now, and your character is worth something. Keep it safe:
<br=3><indent=0>- <indent=15>Never tell anyone your account number or password, not even a gamemaster: they will never ask for it.<indent=0>
<br=2>- <indent=15>Use a password that you use nowhere else.<indent=0>
<br=2>- <indent=15>Do not run programs that others send you, and be wary of links: the client warns you before it copies one.<indent=0>
<br=2>- <indent=15>Log out properly before you leave your computer.<indent=0>)"},
};

}  // namespace

const HelpTextEntry* FindHelpTextEntry(int Number) {
    for (const HelpTextEntry& E : HELP_TEXTS)
        if (E.Number == Number) return &E;
    return NULL;
}

int GetNumberOfHelpTexts() { return int(sizeof HELP_TEXTS / sizeof HELP_TEXTS[0]); }

const HelpTextEntry& GetHelpTextEntry(int Index) {
    ASSERT(In(Index,0,GetNumberOfHelpTexts()-1));
    return HELP_TEXTS[In(Index, 0, GetNumberOfHelpTexts() - 1) ? Index : 0];
}

const EventHintEntry& GetEventHintEntry(int Number) {
    ASSERT(In(Number,1,EVENTHELPS));
    return HINTS[In(Number, 1, EVENTHELPS) ? Number - 1 : 0];
}
