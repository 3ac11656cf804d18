#include "Rng.h"

namespace randomplayer {

std::string Rng::name() {
    static const char* const Parts[] = {"mar", "ko", "el", "di", "ra", "th", "an", "gor", "li", "sa", "bo", "rin",
                                        "val", "ek", "ul", "ny", "fa", "quo", "zer", "ix"};
    std::string Name;
    for (int n = range(1, 3); n > 0; n--) Name += Parts[below(20)];
    Name[0] = char(Name[0] - 'a' + 'A');
    if (oneIn(8)) Name += " " + std::string(Parts[below(20)]);
    if (oneIn(40)) Name += char(range(0xC0, 0xFF));  // a letter of the upper half
    return Name;
}

std::string Rng::text(int MaxLength) {
    std::string Text;
    const int Length = range(0, MaxLength);
    while (int(Text.size()) < Length) {
        const int Kind = below(20);
        if (Kind < 12) {
            for (int n = range(1, 9); n > 0; n--) Text += char('a' + below(26));
            Text += ' ';
        } else if (Kind < 14) {
            Text += std::to_string(range(0, 99999));
        } else if (Kind < 16) {
            Text += "!?.,:;-+*/()<>#@$%&'\""[below(22)];
        } else if (Kind < 17) {
            Text += char(range(0xA0, 0xFF));
        } else if (Kind < 18) {
            Text += '\n';
        } else if (Kind < 19) {
            // Words that mean something to the interface: links and markup.
            static const char* const Special[] = {"www.vorna.example.com", "192.168.0.1", "<font=2>", "<red=255>",
                                                  "http://x.org/", "\\", "%s%d%n", "\t"};
            Text += Special[below(8)];
        } else {
            Text += std::string(size_t(range(1, 60)), char('a' + below(26)));
        }
    }
    if (int(Text.size()) > MaxLength) Text.resize(size_t(MaxLength));
    return Text;
}

std::string Rng::lines(int MaxLength, int LineLength) {
    std::string Text = text(MaxLength), Shaped;
    int Column = 0;
    for (char c : Text) {
        if (c == '\n') Column = -1;
        if (Column >= LineLength) {
            Shaped += '\n';
            Column = 0;
        }
        Shaped += c;
        ++Column;
    }
    return Shaped;
}

}  // namespace randomplayer
