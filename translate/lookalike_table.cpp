// The look-alike table, in Windows-1252 bytes. Keys are lower-case letters,
// digits or punctuation; a byte standing twice in a list is twice as likely.
#include "translate.h"

const LookalikeEntry LookalikeTable[LookalikeCount] = {
    {'a', "\x40\xE5\xC0\xC4\x34\xC1\xC2\x40\xC3\xC6\xE1\xE2\xE3\x34"},
    {'b', "\xDF\xFE"},
    {'c', "\xA9\xA2\xC7"},
    {'d', "\xD0"},
    {'e', "\x33\x26"},
    {'i', "\x7C\xA1"},
    {'l', "\xA3"},
    {'n', "\xF1"},
    {'o', "\xF8\xD8\xF5"},
    {'r', "\xAE"},
    {'s', "\xA7"},
    {'u', "\xB5\xF9\xFA\xFB\xFC"},
    {'x', "\xD7\x2A\xA4"},
    {'y', "\xA5\xFF\xFD"},
    {'?', "\xBF"},
    {'!', "\xA1"},
    {'.', "\xB7"},
    {'0', "\xB0\xF8\xD8\x4F"},
    {'1', "\xB9\x49"},
    {'2', "\xB2"},
    {'3', "\xB3"},
};
