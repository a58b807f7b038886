// A program that only a Windows later than XP starts: it imports GetTickCount64 (Windows
// Vista) and its header asks for Windows 6.0. The check that the shipped programs load on XP
// is run against it too, and must refuse it on both counts.
#include <windows.h>

int main() { return static_cast<int>(::GetTickCount64() % 2); }
