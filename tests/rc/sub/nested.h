// Included twice by preprocess.h: #pragma once keeps the second out, so the
// #error below never fires.
#pragma once
#ifdef NESTED_VALUE
#error included twice
#endif
#define NESTED_VALUE 42
