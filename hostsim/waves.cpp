// The simulated host's wave store and the services that reach it.
#include "wave_store.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "data_folders.h"
#include "hostsim.h"
#include "items.h"

namespace hostsim {
namespace {

enum : int32_t { kMaxDims = 4, kAuxDim = -1 };
constexpr int64_t kMaxDataBytes = int64_t{1} << 30;

struct WaveInfo {
  std::string foldedName; // empty for an unnamed wave
  int32_t folder = 0;
  int32_t layout = 1;
  int32_t numType = 4;
  std::vector<int32_t> dims;
  double valueA[kMaxDims + 1] = {}, valueB[kMaxDims + 1] = {}; // dim + 1
  std::string texts[kMaxDims + 1];
  std::map<std::pair<int32_t, int32_t>, std::string> indexedTexts;
  int32_t v93 = 0, v94 = 0, v95 = 0, modified = 0;
};

std::map<Handle, WaveInfo> waves;
int32_t newWaveLayout = 1;

std::string Folded(std::string name) {
  for (char &c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

// ---- Shapes and values ----------------------------------------------------

int32_t BytesPerValue(int32_t numType) {
  switch (numType & ~1) {
  case 0x02:
    return 4;
  case 0x04:
    return 8;
  case 0x08:
  case 0x48:
    return 1;
  case 0x10:
  case 0x50:
    return 2;
  case 0x20:
  case 0x60:
    return 4;
  default:
    return 0;
  }
}

int32_t ValuesPerElement(int32_t numType) { return (numType & 1) ? 2 : 1; }

int32_t HeaderBytes(int32_t layout) {
  return layout == 0 ? 110 : layout == 1 ? 320 : kServedDataOffset;
}

int64_t PointsOf(const std::vector<int32_t> &dims) {
  int64_t points = dims.empty() ? 0 : 1;
  for (int32_t size : dims)
    points *= size;
  return points;
}

int64_t DataBytes(const WaveInfo &w) {
  return PointsOf(w.dims) * ValuesPerElement(w.numType) *
         BytesPerValue(w.numType);
}

bool ValidShape(int32_t layout, int32_t numType,
                const std::vector<int32_t> &dims) {
  if (layout < 0 || layout > kServedLayout || BytesPerValue(numType) == 0)
    return false;
  if (dims.empty() || dims.size() > (layout == 0 ? 1u : size_t{kMaxDims}))
    return false;
  for (size_t d = 0; d < dims.size(); ++d) {
    if (dims[d] < 0 || (dims[d] == 0 && dims.size() > 1)) return false;
  }
  int64_t bytes = PointsOf(dims) * 2 * BytesPerValue(numType);
  return bytes <= kMaxDataBytes;
}

double ReadValue(const char *data, int32_t numType, int64_t position) {
  const char *at = data + position * BytesPerValue(numType);
  switch (numType & ~1) {
#define READ_AS(code, T)                                                       \
  case code: {                                                                 \
    T value;                                                                   \
    std::memcpy(&value, at, sizeof value);                                     \
    return static_cast<double>(value);                                         \
  }
    READ_AS(0x02, float)
    READ_AS(0x04, double)
    READ_AS(0x08, int8_t)
    READ_AS(0x10, int16_t)
    READ_AS(0x20, int32_t)
    READ_AS(0x48, uint8_t)
    READ_AS(0x50, uint16_t)
    READ_AS(0x60, uint32_t)
#undef READ_AS
  }
  return 0;
}

// Floats round to nearest; integers keep the low bytes of the value cut
// toward zero, and 0 for anything outside the 64-bit range.
void WriteValue(char *data, int32_t numType, int64_t position, double value) {
  int32_t bytes = BytesPerValue(numType);
  char *at = data + position * bytes;
  if ((numType & ~1) == 0x02) {
    float single = static_cast<float>(value);
    std::memcpy(at, &single, sizeof single);
  } else if ((numType & ~1) == 0x04) {
    std::memcpy(at, &value, sizeof value);
  } else {
    int64_t whole =
        (value >= -9223372036854775808.0 && value < 9223372036854775808.0)
            ? static_cast<int64_t>(value)
            : 0;
    std::memcpy(at, &whole, bytes); // little-endian: the low bytes
  }
}

// ---- The block ------------------------------------------------------------

template <typename T> void Put(Handle h, int32_t offset, T value) {
  std::memcpy(*h + offset, &value, sizeof value);
}

void WriteLayout0(Handle h, const WaveInfo &w) {
  Put<int16_t>(h, 0, static_cast<int16_t>(w.numType));
  Put<int32_t>(h, 42, static_cast<int32_t>(PointsOf(w.dims)));
  Put(h, 48, w.valueA[1]);
  Put(h, 56, w.valueB[1]);
  Put<int16_t>(h, 66, static_cast<int16_t>(w.v94));
  Put(h, 70, w.valueA[0]);
  Put(h, 78, w.valueB[0]);
  Put<int32_t>(h, 102, w.v93);
}

void WriteLayout1(Handle h, const WaveInfo &w) {
  Put<int32_t>(h, 8, w.v93);
  Put<int32_t>(h, 12, static_cast<int32_t>(PointsOf(w.dims)));
  Put<int16_t>(h, 16, static_cast<int16_t>(w.numType));
  for (int32_t d = 0; d < kMaxDims; ++d) {
    Put<int32_t>(h, 68 + 4 * d, d < int32_t(w.dims.size()) ? w.dims[d] : 0);
    Put(h, 84 + 8 * d, w.valueA[d + 1]);
    Put(h, 116 + 8 * d, w.valueB[d + 1]);
  }
  Put(h, 172, w.valueA[0]);
  Put(h, 180, w.valueB[0]);
  Put<int16_t>(h, 296, static_cast<int16_t>(w.v94));
  Put<int16_t>(h, 308, static_cast<int16_t>(w.v95));
}

// The host's own layout leaves its header as noise, so that a module that
// read it directly would get nonsense.
void WriteHeader(Handle h, const WaveInfo &w) {
  std::memset(*h, w.layout == kServedLayout ? 0xEE : 0, HeaderBytes(w.layout));
  Put<int16_t>(h, 26, static_cast<int16_t>(w.layout));
  if (w.layout == 0) WriteLayout0(h, w);
  if (w.layout == 1) WriteLayout1(h, w);
}

// Gives the wave a new type and shape; the data is kept where the type stays,
// and zero elsewhere. Fails (nothing changed) when memory does.
int32_t Reshape(Handle h, WaveInfo &w, int32_t numType,
                const std::vector<int32_t> &dims) {
  int32_t header = HeaderBytes(w.layout);
  int64_t oldBytes = DataBytes(w);
  WaveInfo next = w;
  next.numType = numType;
  next.dims = dims;
  int64_t newBytes = DataBytes(next);
  SetHandleSize(h, static_cast<int32_t>(header + newBytes));
  if (int32_t error = MemError()) return error;
  int64_t kept = numType == w.numType ? std::min(oldBytes, newBytes) : 0;
  std::memset(*h + header + kept, 0, static_cast<size_t>(newBytes - kept));
  w = next;
  WriteHeader(h, w);
  return 0;
}

Handle Create(int32_t layout, int32_t numType, const std::vector<int32_t> &dims,
              const std::string &name, int32_t folder) {
  if (!ValidShape(layout, numType, dims)) return nullptr;
  if (!name.empty() && !AddObject(folder, name, kWaveObject)) return nullptr;
  Handle h = NewHandle(HeaderBytes(layout));
  if (h == nullptr) return nullptr;
  WaveInfo w;
  w.foldedName = Folded(name);
  w.folder = folder;
  w.layout = layout;
  w.dims = {0};
  if (Reshape(h, w, numType, dims) != 0) {
    DisposeHandle(h);
    return nullptr;
  }
  waves[h] = w;
  return h;
}

// ---- Service helpers ------------------------------------------------------

// The wave an item names, moved first as any host call may; null if none.
WaveInfo *WaveAt(int32_t item, Handle &h) {
  h = ItemPointer<char *>(item);
  auto found = waves.find(h);
  if (found == waves.end()) return nullptr;
  MoveBlock(h);
  return &found->second;
}

std::vector<int32_t> DimsFromArray(const int32_t *sizes) {
  std::vector<int32_t> dims{sizes[0]};
  for (int32_t d = 1; d < kMaxDims && sizes[0] != 0 && sizes[d] != 0; ++d)
    dims.push_back(sizes[d]);
  return dims;
}

std::string TextAt(int32_t item) {
  const char *text = ItemPointer<const char>(item);
  return text ? text : "";
}

void CopyText(const std::string &text, int32_t item) {
  char *out = ItemPointer<char>(item);
  if (out == nullptr) return;
  size_t n = std::min(text.size(), size_t{kMaxDimTextChars});
  std::memcpy(out, text.data(), n);
  out[n] = 0;
}

bool ValidDim(int32_t dim) { return dim >= kAuxDim && dim < kMaxDims; }

// Element number of the indices at `item`, or -1 when one is out of range.
int64_t ElementOf(const WaveInfo &w, int32_t item) {
  const int32_t *indices = ItemPointer<const int32_t>(item);
  int64_t element = 0, stride = 1;
  for (size_t d = 0; d < w.dims.size(); ++d) {
    if (indices[d] < 0 || indices[d] >= w.dims[d]) return -1;
    element += indices[d] * stride;
    stride *= w.dims[d];
  }
  return PointsOf(w.dims) == 0 ? -1 : element;
}

char *DataOf(Handle h, const WaveInfo &w) { return *h + HeaderBytes(w.layout); }

// ---- Services -------------------------------------------------------------

#define WAVE_OR_ERROR(item)                                                    \
  Handle h;                                                                    \
  WaveInfo *w = WaveAt(ItemOr0(call, item), h);                                \
  if (w == nullptr) return kNotAWaveError

int32_t Modified(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  ++w->modified;
  return 0;
}

int32_t NumberType(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  return w->numType;
}

int32_t PointCount(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  return static_cast<int32_t>(PointsOf(w->dims));
}

int32_t DataStart(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  return PointerItem(DataOf(h, *w));
}

int32_t Value93(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  return w->v93;
}

int32_t Value94(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  return w->v94;
}

int32_t Value95(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  return w->v95;
}

Handle FindByName(int32_t folder, const std::string &name) {
  if (folder == 0) folder = CurrentFolder();
  for (auto &entry : waves) {
    if (entry.second.folder == folder &&
        entry.second.foldedName == Folded(name) && !name.empty())
      return entry.first;
  }
  return nullptr;
}

int32_t ByName(const ServiceCall &call) {
  return PointerItem(FindByName(0, TextAt(ItemOr0(call, 0))));
}

int32_t ByNameInFolder(const ServiceCall &call) {
  return PointerItem(FindByName(ItemOr0(call, 0), TextAt(ItemOr0(call, 1))));
}

int32_t MakeAndAnswer(int32_t slot, int32_t nameItem, int32_t numType,
                      const std::vector<int32_t> &dims) {
  int32_t layout = newWaveLayout == 0 && dims.size() > 1 ? 1 : newWaveLayout;
  if (!ValidShape(layout, numType, dims)) return kBadWaveSizeError;
  std::string name = TextAt(nameItem);
  if (FindByName(0, name) != nullptr) return kWaveNameTakenError;
  Handle h = Create(layout, numType, dims, name, CurrentFolder());
  if (h == nullptr) return kBadWaveTypeError;
  *ItemPointer<int32_t>(slot) = PointerItem(h);
  return 0;
}

int32_t NewOneDim(const ServiceCall &call) {
  return MakeAndAnswer(ItemOr0(call, 0), ItemOr0(call, 1), ItemOr0(call, 3),
                       {ItemOr0(call, 2)});
}

int32_t NewDims(const ServiceCall &call) {
  const int32_t *sizes = ItemPointer<const int32_t>(ItemOr0(call, 3));
  return MakeAndAnswer(ItemOr0(call, 0), ItemOr0(call, 1), ItemOr0(call, 4),
                       DimsFromArray(sizes));
}

int32_t ResizeTo(Handle h, WaveInfo *w, int32_t numType,
                 const std::vector<int32_t> &dims) {
  if (!ValidShape(w->layout, numType, dims)) return kBadWaveSizeError;
  return Reshape(h, *w, numType, dims);
}

int32_t ResizeOneDim(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  return ResizeTo(h, w, ItemOr0(call, 2), {ItemOr0(call, 1)});
}

int32_t ResizeDims(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  const int32_t *sizes = ItemPointer<const int32_t>(ItemOr0(call, 2));
  return ResizeTo(h, w, ItemOr0(call, 1), DimsFromArray(sizes));
}

int32_t Dims(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  *ItemPointer<int32_t>(ItemOr0(call, 1)) =
      static_cast<int32_t>(PointsOf(w->dims) == 0 ? 1 : w->dims.size());
  int32_t *sizes = ItemPointer<int32_t>(ItemOr0(call, 2));
  for (size_t d = 0; sizes != nullptr && d < w->dims.size(); ++d)
    sizes[d] = w->dims[d];
  return 0;
}

int32_t DimZeroValues(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  *ItemPointer<double>(ItemOr0(call, 1)) = w->valueA[1];
  *ItemPointer<double>(ItemOr0(call, 2)) = w->valueB[1];
  return 0;
}

int32_t GetDimText(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  int32_t dim = ItemOr0(call, 1);
  if (!ValidDim(dim)) return kBadDimensionError;
  CopyText(w->texts[dim + 1], ItemOr0(call, 2));
  return 0;
}

int32_t SetDimText(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  int32_t dim = ItemOr0(call, 1);
  if (!ValidDim(dim)) return kBadDimensionError;
  w->texts[dim + 1] = TextAt(ItemOr0(call, 2)).substr(0, kMaxDimTextChars);
  return 0;
}

// Layout 0's pair of texts: dimension 0 and the wave's own; null skips one.
int32_t GetBothTexts(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  CopyText(w->texts[1], ItemOr0(call, 1));
  CopyText(w->texts[0], ItemOr0(call, 2));
  return 0;
}

int32_t SetBothTexts(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  for (int32_t k : {1, 2}) {
    if (ItemOr0(call, k) != 0)
      w->texts[2 - k] = TextAt(ItemOr0(call, k)).substr(0, kMaxDimTextChars);
  }
  return 0;
}

int32_t GetIndexedText(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  CopyText(w->indexedTexts[{ItemOr0(call, 1), ItemOr0(call, 2)}],
           ItemOr0(call, 3));
  return 0;
}

int32_t SetIndexedText(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  w->indexedTexts[{ItemOr0(call, 1), ItemOr0(call, 2)}] =
      TextAt(ItemOr0(call, 3)).substr(0, kMaxDimTextChars);
  return 0;
}

int32_t DataOffset(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  if (ItemOr0(call, 1) != 0) return kBadSelectorError;
  *ItemPointer<int32_t>(ItemOr0(call, 2)) = HeaderBytes(w->layout);
  return 0;
}

int32_t GetElement(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  int64_t element = ElementOf(*w, ItemOr0(call, 1));
  if (element < 0) return kElementIndexError;
  double *value = ItemPointer<double>(ItemOr0(call, 2));
  int32_t n = ValuesPerElement(w->numType);
  for (int32_t k = 0; k < n; ++k)
    value[k] = ReadValue(DataOf(h, *w), w->numType, element * n + k);
  return 0;
}

int32_t SetElement(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  int64_t element = ElementOf(*w, ItemOr0(call, 1));
  if (element < 0) return kElementIndexError;
  const double *value = ItemPointer<const double>(ItemOr0(call, 2));
  int32_t n = ValuesPerElement(w->numType);
  for (int32_t k = 0; k < n; ++k)
    WriteValue(DataOf(h, *w), w->numType, element * n + k, value[k]);
  return 0;
}

int64_t ValueCount(const WaveInfo &w) {
  return PointsOf(w.dims) * ValuesPerElement(w.numType);
}

int32_t ToDoubles(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  double *out = ItemPointer<double>(ItemOr0(call, 1));
  for (int64_t k = 0; k < ValueCount(*w); ++k)
    out[k] = ReadValue(DataOf(h, *w), w->numType, k);
  return 0;
}

int32_t FromDoubles(const ServiceCall &call) {
  WAVE_OR_ERROR(0);
  const double *in = ItemPointer<const double>(ItemOr0(call, 1));
  for (int64_t k = 0; k < ValueCount(*w); ++k)
    WriteValue(DataOf(h, *w), w->numType, k, in[k]);
  return 0;
}

#undef WAVE_OR_ERROR

const ServiceRegistration registrations[] = {
    {1, Modified},         {44, Modified},     {7, ByName},
    {157, ByNameInFolder}, {34, NumberType},   {35, PointCount},
    {37, DataStart},       {93, Value93},      {94, Value94},
    {95, Value95},         {42, NewOneDim},    {43, ResizeOneDim},
    {77, NewDims},         {79, ResizeDims},   {78, Dims},
    {80, DimZeroValues},   {52, GetBothTexts}, {53, SetBothTexts},
    {82, GetDimText},      {83, SetDimText},   {84, GetIndexedText},
    {85, SetIndexedText},  {86, DataOffset},   {87, GetElement},
    {88, SetElement},      {89, ToDoubles},    {90, FromDoubles},
};

WaveInfo *InfoOf(Handle wave) {
  auto found = waves.find(wave);
  return found == waves.end() ? nullptr : &found->second;
}

} // namespace

Handle MakeWave(int32_t layout, int32_t numType,
                const std::vector<int32_t> &dims, const std::string &name) {
  return Create(layout, numType, dims, name, CurrentFolder());
}

void ResetWaves() {
  for (auto &entry : waves)
    DisposeHandle(entry.first);
  waves.clear();
  newWaveLayout = 1;
}

bool KillWave(Handle h) {
  auto found = waves.find(h);
  if (found == waves.end()) return false;
  if (!found->second.foldedName.empty())
    RemoveObject(found->second.folder, found->second.foldedName);
  DisposeHandle(h);
  waves.erase(found);
  return true;
}

bool IsWave(Handle h) { return InfoOf(h) != nullptr; }
int32_t WaveCount() { return static_cast<int32_t>(waves.size()); }
void SetNewWaveLayout(int32_t layout) { newWaveLayout = layout; }

int32_t ModifiedNotices(Handle wave) {
  WaveInfo *w = InfoOf(wave);
  return w ? w->modified : 0;
}

void SetHeaderValues(Handle wave, int32_t v93, int32_t v94, int32_t v95) {
  if (WaveInfo *w = InfoOf(wave)) {
    w->v93 = v93;
    w->v94 = v94;
    w->v95 = v95;
    WriteHeader(wave, *w);
  }
}

void SetDimValues(Handle wave, int32_t dim, double a, double b) {
  WaveInfo *w = InfoOf(wave);
  if (w == nullptr || !ValidDim(dim)) return;
  w->valueA[dim + 1] = a;
  w->valueB[dim + 1] = b;
  WriteHeader(wave, *w);
}

std::string DimText(Handle wave, int32_t dim) {
  WaveInfo *w = InfoOf(wave);
  return w && ValidDim(dim) ? w->texts[dim + 1] : "";
}

std::vector<int32_t> WaveDims(Handle wave) {
  WaveInfo *w = InfoOf(wave);
  return w ? w->dims : std::vector<int32_t>{};
}

int32_t WaveType(Handle wave) {
  WaveInfo *w = InfoOf(wave);
  return w ? w->numType : 0;
}

Handle WaveNamed(const std::string &name) {
  return FindByName(CurrentFolder(), name);
}

std::vector<double> WaveValues(Handle wave) {
  std::vector<double> values;
  if (WaveInfo *w = InfoOf(wave)) {
    for (int64_t k = 0; k < ValueCount(*w); ++k)
      values.push_back(ReadValue(DataOf(wave, *w), w->numType, k));
  }
  return values;
}

void StoreWaveValues(Handle wave, const std::vector<double> &values) {
  WaveInfo *w = InfoOf(wave);
  if (w == nullptr) return;
  int64_t count = std::min<int64_t>(ValueCount(*w), values.size());
  for (int64_t k = 0; k < count; ++k)
    WriteValue(DataOf(wave, *w), w->numType, k, values[k]);
}

} // namespace hostsim
