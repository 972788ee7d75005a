#pragma once
// What the curve drawing of a channel needs beside the channel: the view's geometry for one
// strip, and a summary of the curve values by blocks that lets a strip narrower than its
// samples be drawn per pixel column without walking every sample on every paint.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/BulkAllocator.h"

class CDC;
class CChannel;

// Extremes of a channel's curve values with their indices, per block of kBlock samples and per
// group of kGroup blocks. Built once per change of the values; the drawing reads it instead of
// the samples where a pixel column holds whole blocks.
class CurveSummary {
public:
    static constexpr size_t kBlock = 16;
    static constexpr size_t kGroup = 16;  // blocks per group
    void Build(const CChannel& ch);
    // Whether a channel's curve is drawn through a summary: only a long one gains from it; a
    // short curve is walked directly, a status curve counts its bits directly.
    static bool Wanted(const CChannel& ch);
    // True when built from the channel's curve as it is now.
    bool Matches(const CChannel& ch) const;
    // Over [begin, end) of the curve (end > begin): the least and the greatest value with the
    // index of each. Missing samples (NaN) take no part, an infinite value counts as 0; `any`
    // is false when every value of the range is missing.
    struct Range {
        double min = 0, max = 0;
        size_t minIndex = 0, maxIndex = 0;
        bool any = true;
    };
    Range Query(const CChannel& ch, size_t begin, size_t end) const;
    // Only how many values of [begin, end) are not 0.0.
    size_t CountOn(const CChannel& ch, size_t begin, size_t end) const;
    size_t ByteSize() const { return (m_blocks.capacity() + m_groups.capacity()) * sizeof(Block); }

private:
    struct Block {
        double min, max;
        uint32_t minIndex, maxIndex;
    };
    // What the curve values were read from: the samples, the last Recalc, and what the
    // reading of an instant curve takes from the channel as it is.
    struct Source {
        uint64_t stamp = 0, version = 0;
        const void* identity = nullptr;
        uint32_t flags = 0;
        uint64_t displayMul = 0, dc = 0, a = 0, b = 0, prefixMul = 0;
        bool operator==(const Source&) const = default;
    };
    static Source SourceOf(const CChannel& ch);
    Source m_source;
    size_t m_size = 0;
    // Every block and group is written by Build: sized without zero-filling.
    tv::BulkVector<Block> m_blocks, m_groups;
};

// One strip of the view: where it lies and how the samples map to x.
struct CurveStrip {
    CDC* dc = nullptr;
    int right = 0;             // x of the right edge of the drawing area
    int64_t first = 0;         // sample of the record drawn at the left edge
    int top = 0;               // top of the strip
    int left = 0;              // left edge of the curve area
    int height = 0;            // height of the strip
    double timeShiftUs = 0.0;  // shift of the own times of pasted channels, microseconds
    double xscale = 1.0;       // one sample step is 25 x xscale pixels
    // Summary of the channel's curve values, or null to walk the samples.
    const CurveSummary* summary = nullptr;
};

// The vertical mapping of a strip: `low` lies 5 pixels above its bottom and `high` 5 below its
// top; a flat range lies in its middle.
struct VerticalMap {
    VerticalMap(double low, double high, int top, int height);
    int Y(double v) const;
    // The zero line's y, or false when 0 lies outside the range.
    bool ZeroY(int& y) const;
    double low = 0, high = 0, scale = 0;
    int y0 = 0;
};
