// RapidJSON, qorcfg's JSON reader and writer, as every file of qorcfg includes it: with
// the processor's sixteen-byte instructions where it has them (every x86-64 does), and
// the same in every file, so that the library's inline functions are one and the same.
#pragma once

#if defined(__SSE2__) && !defined(RAPIDJSON_SSE2)
#define RAPIDJSON_SSE2
#endif

#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
