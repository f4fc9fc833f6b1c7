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
// kByTarget: from the target's boundaries whatever the widths.
template <typename S, typename D, bool kByTarget = false>
BlockSpan SpanOfBlocks(const unsigned char *source, const unsigned char *target,
                       int32_t count) {
  constexpr bool kBySource = !kByTarget && sizeof(S) > sizeof(D);
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

// Arrays beyond the caches: source and target together of this size or
// more.
constexpr uint64_t kBeyondCachesBytes = 32 << 20;

template <typename S, typename D> bool BeyondCaches(int32_t count) {
  return uint64_t(count) * (sizeof(S) + sizeof(D)) >= kBeyondCachesBytes;
}

// Arrays beyond the caches are walked in stretches, and before each the
// lines of one side two stretches ahead are prefetched in one go: the
// memory system then has many lines in flight at once, where the
// processor's own prefetcher keeps only a few ahead of a quick loop. The
// side is the source when it is at least as wide as the target, and a
// cached target of doubles otherwise; prefetching narrower targets,
// streamed targets (the lines would only have to leave the cache again),
// arrays within the last-level cache, or for SSE2 blocks (slow enough for
// the processor's prefetcher to keep up) only cost time. Each variant says
// whether it prefetches.
constexpr size_t kStretchBytes = 4 << 10;
constexpr int32_t kStretchesAhead = 2;

enum class PrefetchSide { kNone, kSource, kTarget };

template <typename S, typename D, StoreMode M>
constexpr PrefetchSide kPrefetchSide =
    !kPrefetchStretches          ? PrefetchSide::kNone
    : sizeof(S) >= sizeof(D)     ? PrefetchSide::kSource
    : M == StoreMode::kStreaming ? PrefetchSide::kNone
    : sizeof(D) == 8             ? PrefetchSide::kTarget
                                 : PrefetchSide::kNone;

NUMCONV_INLINE void PrefetchLines(const unsigned char *from, size_t bytes) {
  for (size_t at = 0; at < bytes; at += 64)
    __builtin_prefetch(from + at, 0, 3);
}

template <typename S, typename D, StoreMode M>
void ConvertStretches(const unsigned char *source, unsigned char *target,
                      int32_t first, int32_t end) {
  constexpr bool kBySource = kPrefetchSide<S, D, M> == PrefetchSide::kSource;
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
  if (kPrefetchSide<S, D, M> != PrefetchSide::kNone &&
      BeyondCaches<S, D>(count))
    ConvertStretches<S, D, M>(source, target, span.first, span.end);
  else
    ConvertBlocks<S, D, M>(source, target, span.first, span.end);
  // Streamed stores are ordered before anything the caller does next.
  if constexpr (M == StoreMode::kStreaming) _mm_sfence();
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

// Beyond the caches, a target apart from its source is written with
// streaming stores past the caches, from its first vector boundary on. A
// cached store first reads its line (read for ownership), so a pair that
// writes four bytes per byte read moves almost twice the bytes it needs;
// memcpy streams its large copies for the same reason.
//
// Measured on the development machine (AVX-512, Int8 into Int32 over 64 MiB of
// source, best of 5 calls; streaming_bench measures the same for the stores
// chosen here): streamed 13.8-14.2 ms, cached 30.0-31.5 ms, memcpy of the same
// traffic 23.6-24.3 ms over 6 processes; with both buffers flushed from the
// caches before each call, 14.2-15.1, 30.2-31.9 and 23.7-24.2. The same held
// whether the pages were 4 KiB or huge, the target 2 MiB-aligned or not, on
// either core, and beside a process copying memory on the other core (3 to 8
// processes per setting). Only pages touched for the first time inside the call
// reverse it: the system zeroes them through the cache, and each streamed line
// must leave it first (157-162 ms streamed against 88-91 cached into
// never-touched pages; memcpy into such pages streams too and took 134-139 ms).
// A host clears a new wave when it makes it, so that cost falls on a caller's
// own fresh, uncleared buffer, and on its first use only.
//
// Earlier streaming measured two modes against memcpy, 0.65 or 0.97 from
// run to run. They were the baseline's, not the streamed stores': the
// machine's last-level cache (480 MiB, shared with other virtual machines)
// keeps part of a working set of tens of MiB in some processes and not in
// others, and only cached accesses gain from it. memcpy of 40 MiB, best of
// 5: 2.9-3.5 ms in 20 processes of 21 one day, 3.8 ms in 2 of 15 and 5.1-6.6
// in the others another, and 6.2-6.7 ms in every process once both buffers
// were flushed first. Streamed stores take the same time flushed or not
// (above), so they were chosen; the ratio's spread is the baseline's, which
// is why the bench reports medians over processes.
template <typename S, typename D>
bool ConvertStreamed(const unsigned char *source, unsigned char *target,
                     int32_t count) {
  if (!BeyondCaches<S, D>(count) || Overlap<S, D>(source, target, count))
    return false;
  BlockSpan span = SpanOfBlocks<S, D, true>(source, target, count);
  if (!span.aligned) return false;
  WalkApart<S, D, StoreMode::kStreaming>(source, target, count, span);
  return true;
}

template <typename S, typename D>
void ConvertArray(const void *source, void *target, int32_t count) {
  if (count <= 0) return;
  if constexpr (kSameBits<S, D>) {
    std::memmove(target, source, static_cast<size_t>(count) * sizeof(D));
  } else {
    auto from = static_cast<const unsigned char *>(source);
    auto to = static_cast<unsigned char *>(target);
    if (ConvertStreamed<S, D>(from, to, count)) return;
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
