#include "core/Status.h"

#include "core/Assert.h"
#include "core/Utils.h"
#include "core/sysinc.h"

#include <algorithm>
#include <cstring>
#include <memory>

// GCC 12 with the sanitizers reports the standard library's own regex
// internals as possibly uninitialised; nothing in this file is.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <regex>

namespace {

// A link, in a lower-cased text: after the start or a separator, a host name
// (letters, digits and hyphens ending in a full stop or its URL escape "%2e",
// then a known top-level domain and perhaps a closing full stop) or a dotted
// IPv4 address, followed by a separator or the end. Behind the link a query
// or fragment may start as well ("?", "#", "&").
//
// A host name has one or more such groups before its domain, but one group is
// all the search needs: in "a.b.com" the group "b." follows the separator ".",
// and in "a%2eb%2ecom" the group "2eb%2e" follows the separator "%". Letting the
// matcher try every split of a long dotted run would take time quadratic in
// its length.
//
// Top-level domains: the generic ones and the country codes of ISO 3166
// (with "uk" and "eu", which are in use though only reserved there). The
// country codes are grouped by first letter, which keeps the number of
// alternatives the matcher tries at every full stop small.
const char* const LINK_PATTERN =
    "(^|[ .,:;/@<>|()\"\n\r%])"
    "([a-z0-9-]+(\\.|%2e)("
    "aero|arpa|biz|com|coop|edu|gov|info|int|jobs|mil|mobi|museum|name|net|org|pro|travel|"
    "a[defgilmoqrstuwxz]|b[abdefghijlmnoqrstvwyz]|c[acdfghiklmnoruvwxyz]|d[ejkmoz]|e[ceghrstu]|"
    "f[ijkmor]|g[abdefghilmnpqrstuwy]|h[kmnrtu]|i[delmnoqrst]|j[emop]|k[eghimnprwyz]|l[abcikrstuvy]|"
    "m[acdefghklmnopqrstuvwxyz]|n[acefgilopruz]|om|p[aefghklmnrstwy]|qa|r[eosuw]|"
    "s[abcdeghijklmnorstvxyz]|t[cdfghjklmnortvwz]|u[agkmsyz]|v[aceginu]|w[fs]|y[et]|z[amw]"
    ")\\.?"
    "|[0-9]{1,3}((\\.|%2e)[0-9]{1,3}){3})"
    "([ .,:;/@<>|()\"\n\r%?#&]|$)";

// Set by InitStatus, cleared by ExitStatus.
bool StatusInitialized = false;
uint8_t GamemasterFlag = 0;
LinkWarningHandler LinkWarning = nullptr;
std::unique_ptr<std::regex> LinkPattern;
bool HasPendingCopy = false;
std::string PendingCopy;

bool SearchLink(const std::string& lower) {
    if (!LinkPattern) return false;
    // Every link holds a full stop or a "%2e"; most chat lines have neither.
    if (lower.find_first_of(".%") == std::string::npos) return false;
    const size_t length = lower.size();
    for (size_t start = 0;; start += LINK_SEARCH_WINDOW - LINK_SEARCH_OVERLAP) {
        size_t end = std::min(length, start + LINK_SEARCH_WINDOW);
        auto flags = std::regex_constants::match_default;
        // A window that does not begin or end with the text must not let "^"
        // or "$" match at its edges.
        if (start > 0) flags |= std::regex_constants::match_prev_avail | std::regex_constants::match_not_bol;
        if (end < length) flags |= std::regex_constants::match_not_eol;
        if (std::regex_search(lower.begin() + start, lower.begin() + end, *LinkPattern, flags)) return true;
        if (end == length) return false;
    }
}

}  // namespace

void InitStatus(uint8_t Gamemaster, LinkWarningHandler linkwarningeventhandler) {
    ASSERT(!StatusInitialized);
    StatusInitialized = true;
    GamemasterFlag = Gamemaster;
    LinkWarning = linkwarningeventhandler;
    HasPendingCopy = false;
    PendingCopy.clear();
    LinkPattern = std::make_unique<std::regex>(LINK_PATTERN, std::regex::ECMAScript | std::regex::optimize);
    // Checked last: the module is usable, without a warning, even if the
    // reporter returns.
    ASSERT(linkwarningeventhandler!=NULL);
}

void ExitStatus() {
    StatusInitialized = false;
    GamemasterFlag = 0;
    LinkWarning = nullptr;
    LinkPattern.reset();
    HasPendingCopy = false;
    PendingCopy.clear();
    PendingCopy.shrink_to_fit();
}

uint8_t GetGamemasterFlag() { return GamemasterFlag; }

bool ContainsLink(const char* Text) {
    ASSERT(Text!=NULL);
    ASSERT(StatusInitialized);
    if (Text == NULL) return false;
    std::string lower(Text);
    ToLower(lower.data());
    return SearchLink(lower);
}

void CopyChecked(const char* Text, int Length) {
    ASSERT(Text!=NULL);
    if (Text == NULL) return;
    size_t length = std::strlen(Text);
    if (Length >= 0 && size_t(Length) < length) length = size_t(Length);
    PendingCopy.assign(Text, length);
    HasPendingCopy = true;

    if (ContainsLink(PendingCopy.c_str())) {
        if (LinkWarning) LinkWarning();
        return;
    }
    CopyPending();
}

bool CopyPending() {
    if (!HasPendingCopy) return false;
    return SetClipboardText(PendingCopy.c_str());
}

const std::string& GetPendingCopy() { return PendingCopy; }
