// Text, number and colour helpers shared by the whole user interface.
//
// Texts are C strings in the client's single-byte Western European code page
// (the server's and the data files' encoding): bytes 192..222 are the upper
// case accented letters, their lower case forms lie 32 higher. Every byte is
// looked at as unsigned.
#pragma once

#include <string>

// Room FormatNumber needs: "-2,147,483,648" and the terminator.
constexpr int FORMAT_NUMBER_LENGTH = 16;

// In place: A..Z and 192..222 become lower case. Returns Text.
char* ToLower(char* Text);

// In place: the first letter of every word becomes upper case. Letters are
// A..Z, a..z and the German umlauts and sharp s; any other byte ends a word,
// so "2nd" becomes "2Nd". Sharp s has no upper case form and stays. Returns Text.
char* Capitalize(char* Text);

// Compares at most Count characters (-1: no limit) after folding both sides
// as ToLower does. Returns 0 when equal, 1 when s1 sorts after s2, -1 before.
int CompareNoCase(const char* s1, const char* s2, int Count = -1);

// Copies at most Size-1 characters and always terminates. Returns Destination.
char* CopyText(char* Destination, const char* Source, int Size);

// First and last occurrence of Character, or NULL. The terminator is not
// looked for.
const char* FindChar(const char* Text, char Character);
char* FindChar(char* Text, char Character);
const char* FindLastChar(const char* Text, char Character);
char* FindLastChar(char* Text, char Character);

// Copies Source without leading and trailing blanks, tabs, line feeds,
// vertical tabs, form feeds and carriage returns. Destination may be Source.
char* Trim(char* Destination, const char* Source);

// Cuts a text longer than Length so that it ends in "..." and has exactly
// Length characters. For Length 2 or less the result is "..." (or one full
// stop per character if the text was shorter than three). Returns whether it
// cut anything.
bool Shorten(char* Text, int Length);

// Decimal with a comma between groups of three digits: 1234567 gives
// "1,234,567". Buffer must hold FORMAT_NUMBER_LENGTH bytes. Returns Buffer.
char* FormatNumber(int Number, char* Buffer);
std::string FormatNumber(int Number);

// Hue, saturation and intensity, each 0..1, to red, green and blue 0..255.
void HsiToRgb(double Hue, double Saturation, double Intensity, int& Red, int& Green, int& Blue);

// Number of colours of the outfit palette: 7 rows of 19 columns.
constexpr int OUTFIT_COLORS = 133;
constexpr int OUTFIT_COLOR_COLUMNS = 19;

// The outfit palette colour of Index (index = row * 19 + column); an index
// outside the palette gives the colour of index 0.
void GetOutfitColor(int Index, int& Red, int& Green, int& Blue);
// A colour of the 6 x 6 x 6 cube (0..215, others clamped into it): red
// Index / 36, green Index / 6 mod 6, blue Index mod 6, each step 51.
void GetCubeColor(int Index, int& Red, int& Green, int& Blue);
