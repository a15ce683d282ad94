// The device's 1582 display texts, numbered 0 to 1581, in the device's order. Entry numbers
// are part of translation files and images and never change. Entry 1581 is the sentinel
// "LAST LITERAL". Lookups go through a working copy made once by InitLiteralTable.
#pragma once

#include <QString>

constexpr int kLiteralCount = 1582;

// Copies the static table into the working copy and checks the sentinel. On a mismatch it
// writes the assertion text to stderr and returns false; start-up must then stop.
bool InitLiteralTable();

// The text of entry n (0 <= n <= 1581), from the working copy; empty for other n.
// Initialises the working copy on first use when InitLiteralTable was not called.
const char* Literal(int n);
QString LiteralText(int n);
