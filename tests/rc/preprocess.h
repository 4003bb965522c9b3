// A header as a C compiler sees it: only its directives reach the resource
// compiler; the declarations, and the definitions it never uses, cost
// nothing.
#pragma once
#include "sub/nested.h"
#include "sub/nested.h"

#define FROM_HEADER 7
#define IDD_PRE 250
#define UNUSED_CAST ((int)0x80000000)
#define UNUSED_FUNCTION(a, b) ((a) + (b))
#define UNUSED_TEXT some words, not an expression
#define CONTINUED 1 + \
                  2

struct NotAResource {
  int x;  /* "quotes" and 'c' and // inside a comment */
};
const char* kText = "BEGIN END } {";
