// Programming-error checks of the framework.
//
//   ASSERT(x)          debug builds only, like the C assert (compiled out with NDEBUG)
//   VERIFY(x)          evaluates x in every build; checks it in debug builds
//   SAVER_REQUIRE(x)   checked in every build: a violated bound of a collection would otherwise
//                      read or write outside its storage, so the process stops with a message
#pragma once

#include <cassert>

[[noreturn]] void SaverRequireFailed(const char* expr, const char* file, int line);

#ifndef ASSERT
#define ASSERT(x) assert(x)
#endif
#ifndef VERIFY
#ifdef NDEBUG
#define VERIFY(x) ((void)(x))
#else
#define VERIFY(x) assert(x)
#endif
#endif

#define SAVER_REQUIRE(x) ((x) ? (void)0 : SaverRequireFailed(#x, __FILE__, __LINE__))
