// The help panel's and the notices' words in each language (Shift-JIS; the
// numbers and names go in through printf-style %d and %s).
#pragma once

namespace app::texts {

struct HelpWords {
    const char* keysTitle;
    const char* buttonNames[6];  // up, down, right, left, decide, cancel
    const char* keyLine;         // "%s: %s" (button, key)
    const char* hotkeys[7];    // by the key table's action: none, help, settings, fullscreen, screenshot, fast-forward, Escape
    const char* escapeEnds;    // %s Escape's name: it closes a panel, or else ends the game
    const char* escapeCloses;  // %s Escape's name: it only closes a panel (in a page)
    const char* pressure;      // %d pressure
    const char* days[2];       // %d days: for one, for any other number
    const char* calendar;      // %s days to the next 20th-day raid, %s to the next boss day
    const char* colours[4];    // yellow, blue, red, green
    const char* atHome;        // %s colour
    const char* onOrder;       // %s colour, %s order, %s days left, %s yield
    const char* orders[5];     // by order kind: hunt, raise funds, set trap, breed, level up
    const char* yields[5][2];  // %d, by order kind: for one, for any other number
    const char* command;       // %s command word: the heading of its offers
    const char* offer;         // %s colour, %d cost, %s resource, %s yield
    const char* refused;       // %s colour, %s why
    const char* resources[2];  // food, money
    const char* busy;          // %s colour, %s order, %s days left
    const char* poor;          // %s resource, %d needed, %d held
};

// The words in English, or else in Japanese.
const HelpWords& HelpWordsIn(bool english);

}  // namespace app::texts
