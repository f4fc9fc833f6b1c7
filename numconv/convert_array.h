// The one loop from which every pair converter is made, and the table of
// all 64 for one variant. Included inside a variant's namespace after
// lanes.h.
//
// In place the walk must never overwrite a source value before reading it:
// a wider target is filled from the last value down, a narrower or equally
// wide one from the first value up. Vector blocks keep that order because
// each block is read whole before it is written.
// Integers of one width with different signedness store the same bits.
template <typename S, typename D>
constexpr bool kSameBits = std::is_same_v<S, D> ||
                           (std::is_integral_v<S> && std::is_integral_v<D> &&
                            sizeof(S) == sizeof(D));

// Values [0, first) and [end, count) go one at a time; [first, end) in
// blocks, whose targets start on a vector boundary when `aligned`.
struct BlockSpan {
  int32_t first;
  int32_t end;
  bool aligned;
};

NUMCONV_INLINE size_t Misalignment(const unsigned char *p) {
  return reinterpret_cast<uintptr_t>(p) % kVectorBytes;
}

// Blocks start where the wider side's vectors fall on vector boundaries, so
// that its accesses, the more numerous, never straddle cache lines.
template <typename S, typename D>
BlockSpan SpanOfBlocks(const unsigned char *source, const unsigned char *target,
                       int32_t count) {
  constexpr bool kBySource = sizeof(S) > sizeof(D);
  constexpr size_t kWidth = kBySource ? sizeof(S) : sizeof(D);
  size_t misalignment = Misalignment(kBySource ? source : target);
  BlockSpan span = {0, 0, false};
  if (misalignment % kWidth == 0) {
    size_t lead = (kVectorBytes - misalignment) % kVectorBytes / kWidth;
    span.first = lead < size_t(count) ? static_cast<int32_t>(lead) : count;
  }
  span.aligned = Misalignment(target + span.first * sizeof(D)) == 0;
  span.end = span.first + (count - span.first) / kBlockValues * kBlockValues;
  return span;
}

template <typename S, typename D, StoreMode M>
NUMCONV_INLINE void ConvertBlockAt(const unsigned char *source,
                                   unsigned char *target, int32_t index) {
  size_t at = static_cast<size_t>(index);
  StoreLanes<D, M>(target + at * sizeof(D),
                   LoadLanes<S, D>(source + at * sizeof(S)));
}

template <typename S, typename D>
NUMCONV_INLINE void ConvertValueAt(const unsigned char *source,
                                   unsigned char *target, int32_t index) {
  StoreValue<D>(target, index, ConvertOne<S, D>(LoadValue<S>(source, index)));
}

template <typename S, typename D, StoreMode M>
void ConvertBlocks(const unsigned char *source, unsigned char *target,
                   int32_t first, int32_t end) {
#pragma GCC unroll 4
  for (int32_t i = first; i < end; i += kBlockValues)
    ConvertBlockAt<S, D, M>(source, target, i);
}

template <typename S, typename D, StoreMode M>
void WalkUp(const unsigned char *source, unsigned char *target, int32_t count,
            BlockSpan span) {
  for (int32_t i = 0; i < span.first; ++i)
    ConvertValueAt<S, D>(source, target, i);
  ConvertBlocks<S, D, M>(source, target, span.first, span.end);
  for (int32_t i = span.end; i < count; ++i)
    ConvertValueAt<S, D>(source, target, i);
}

template <typename S, typename D, StoreMode M>
void WalkDown(const unsigned char *source, unsigned char *target, int32_t count,
              BlockSpan span) {
  int32_t i = count;
  while (i > span.end)
    ConvertValueAt<S, D>(source, target, --i);
#pragma GCC unroll 4
  for (; i > span.first; i -= kBlockValues)
    ConvertBlockAt<S, D, M>(source, target, i - kBlockValues);
  while (i > 0)
    ConvertValueAt<S, D>(source, target, --i);
}

template <typename S, typename D>
bool Overlap(const unsigned char *source, const unsigned char *target,
             int32_t count) {
  uintptr_t from = reinterpret_cast<uintptr_t>(source);
  uintptr_t to = reinterpret_cast<uintptr_t>(target);
  return from < to + count * sizeof(D) && to < from + count * sizeof(S);
}

// Arrays beyond the caches are walked in stretches, and before each the
// lines of one side two stretches ahead are prefetched in one go: the
// memory system then has many lines in flight at once, where the
// processor's own prefetcher keeps only a few ahead of a quick loop. The
// side is the source when it is at least as wide as the target, and a
// target of doubles otherwise; prefetching narrower targets, arrays within
// the last-level cache, or for SSE2 blocks (slow enough for the processor's
// prefetcher to keep up) only cost time. Each variant says whether it
// prefetches.
constexpr size_t kStretchBytes = 4 << 10;
constexpr int32_t kStretchesAhead = 2;
constexpr uint64_t kPrefetchFromBytes = 32 << 20;

enum class PrefetchSide { kNone, kSource, kTarget };

template <typename S, typename D>
constexpr PrefetchSide kPrefetchSide =
    !kPrefetchStretches      ? PrefetchSide::kNone
    : sizeof(S) >= sizeof(D) ? PrefetchSide::kSource
    : sizeof(D) == 8         ? PrefetchSide::kTarget
                             : PrefetchSide::kNone;

NUMCONV_INLINE void PrefetchLines(const unsigned char *from, size_t bytes) {
  for (size_t at = 0; at < bytes; at += 64)
    __builtin_prefetch(from + at, 0, 3);
}

template <typename S, typename D, StoreMode M>
void ConvertStretches(const unsigned char *source, unsigned char *target,
                      int32_t first, int32_t end) {
  constexpr bool kBySource = kPrefetchSide<S, D> == PrefetchSide::kSource;
  constexpr size_t kWidth = kBySource ? sizeof(S) : sizeof(D);
  constexpr int32_t kStretch = static_cast<int32_t>(
      kStretchBytes / kWidth / kBlockValues * kBlockValues);
  const unsigned char *side = kBySource ? source : target;
  for (int32_t i = first; i < end; i += kStretch) {
    int32_t stop = end - i > kStretch ? i + kStretch : end;
    int32_t ahead = i + kStretchesAhead * kStretch;
    if (ahead < end)
      PrefetchLines(side + ahead * kWidth,
                    (end - ahead > kStretch ? kStretch : end - ahead) * kWidth);
    ConvertBlocks<S, D, M>(source, target, i, stop);
  }
}

// Apart, the ragged ends are whole blocks too, each overlapping its
// neighbour: a value converted twice comes out the same both times, and a
// short array's ends cost a block rather than a value at a time.
template <typename S, typename D, StoreMode M>
void WalkApart(const unsigned char *source, unsigned char *target,
               int32_t count, BlockSpan span) {
  if (count < kBlockValues) {
    WalkUp<S, D, M>(source, target, count, {0, 0, false});
    return;
  }
  if (span.first > 0)
    ConvertBlockAt<S, D, StoreMode::kUnaligned>(source, target, 0);
  if (kPrefetchSide<S, D> != PrefetchSide::kNone &&
      uint64_t(count) * (sizeof(S) + sizeof(D)) >= kPrefetchFromBytes)
    ConvertStretches<S, D, M>(source, target, span.first, span.end);
  else
    ConvertBlocks<S, D, M>(source, target, span.first, span.end);
  if (span.end < count)
    ConvertBlockAt<S, D, StoreMode::kUnaligned>(source, target,
                                                count - kBlockValues);
}

// Sharing memory, a wider target is filled from the last value down and
// any other from the first up. A block reads ahead of the
// value-by-value order; when the target starts ahead of the source in the
// walk's direction, a write could reach a value not yet read, and only
// single values give the same result whatever the block width.
template <typename S, typename D, StoreMode M>
void Walk(const unsigned char *source, unsigned char *target, int32_t count,
          BlockSpan span) {
  bool overlap = Overlap<S, D>(source, target, count);
  if (!overlap) return WalkApart<S, D, M>(source, target, count, span);
  bool down = sizeof(D) > sizeof(S);
  if (down ? target < source : target > source) span = {};
  if (down)
    WalkDown<S, D, M>(source, target, count, span);
  else
    WalkUp<S, D, M>(source, target, count, span);
}

template <typename S, typename D>
void ConvertArray(const void *source, void *target, int32_t count) {
  if (count <= 0) return;
  if constexpr (kSameBits<S, D>) {
    std::memmove(target, source, static_cast<size_t>(count) * sizeof(D));
  } else {
    auto from = static_cast<const unsigned char *>(source);
    auto to = static_cast<unsigned char *>(target);
    BlockSpan span = SpanOfBlocks<S, D>(from, to, count);
    if (span.aligned)
      Walk<S, D, StoreMode::kAligned>(from, to, count, span);
    else
      Walk<S, D, StoreMode::kUnaligned>(from, to, count, span);
  }
}

template <size_t... K>
constexpr PairLoops MakePairLoops(std::index_sequence<K...>) {
  return {&ConvertArray<ValueTypeAt<K / kValueTypeCount>,
                        ValueTypeAt<K % kValueTypeCount>>...};
}

constexpr PairLoops kPairLoops = MakePairLoops(
    std::make_index_sequence<kValueTypeCount * kValueTypeCount>{});
