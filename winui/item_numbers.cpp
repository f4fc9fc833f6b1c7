// Numbers in item texts, and the item classes the change filter knows.
#include <cstdio>

#include "detail/dialog_logic.h"
#include "hostlink.h"

namespace {

// Parses one value with `format`; the value stays zero unless exactly one
// was converted.
template <typename Parsed, typename Value>
int32_t ParseOne(const char *text, const char *format, Value *value) {
  if (value == nullptr) return 1;
  *value = 0;
  Parsed parsed = 0;
  if (text == nullptr || std::sscanf(text, format, &parsed) != 1) return 1;
  *value = static_cast<Value>(parsed);
  return 0;
}

} // namespace

extern "C" {

int32_t ParseItemInt(const char *text, int32_t *value) {
  return ParseOne<int>(text, "%d", value);
}

int32_t ParseItemLong(const char *text, int32_t *value) {
  return ParseOne<long>(text, "%ld", value);
}

int32_t ParseItemDouble(const char *text, double *value) {
  return ParseOne<double>(text, "%lf", value);
}

void FormatItemInt(int32_t value, char text[NumberTextBytes]) {
  std::snprintf(text, NumberTextBytes, "%d", static_cast<int>(value));
}

void FormatItemLong(int32_t value, char text[NumberTextBytes]) {
  std::snprintf(text, NumberTextBytes, "%ld", static_cast<long>(value));
}

// "%g": at most six significant digits.
void FormatItemDouble(double value, char text[NumberTextBytes]) {
  std::snprintf(text, NumberTextBytes, "%g", value);
}

enum ItemClassKind ItemClassKindOf(const char *className) {
  struct Known {
    const char *name;
    ItemClassKind kind;
  };
  static const Known known[] = {{"BUTTON", ButtonItemClass},
                                {"RADIOBUTTON", ButtonItemClass},
                                {"CHECKBOX", ButtonItemClass},
                                {"COMBOBOX", ComboItemClass},
                                {"EDIT", EditItemClass}};
  for (const Known &k : known) {
    if (CompareNoCase(className, k.name) == 0) return k.kind;
  }
  return OtherItemClass;
}

} // extern "C"
