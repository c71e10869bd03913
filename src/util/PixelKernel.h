// Marks the loops that run once per pixel or per byte of a picture.
//
// Their branches follow the picture's data, not paths through the scenario, so coverage counters
// there tell the fuzzer nothing; yet with one traced comparison per pixel they cost the scenario
// fuzzer far more than the pixels themselves. In a coverage build they carry no counters (the
// address checks of a sanitizer build stay); elsewhere the mark is empty.
#pragma once

#if defined(__has_feature)
#if __has_feature(coverage_sanitizer)
#define ORV_PIXEL_KERNEL __attribute__((no_sanitize("coverage")))
#define ORV_COVERAGE_BUILD 1
#endif
#endif
#ifndef ORV_PIXEL_KERNEL
#define ORV_PIXEL_KERNEL
#endif
