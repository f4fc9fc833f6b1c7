// In-place offset and scale over an array of one value type.
#include "value_types.h"

namespace {

using namespace numconv;

template <typename T>
void OffsetAndScaleLoop(unsigned char *values, double offset, double scale,
                        int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    double shifted = static_cast<double>(LoadValue<T>(values, i)) + offset;
    StoreValue<T>(values, i, ConvertOne<double, T>(shifted * scale));
  }
}

// Neither less nor greater: a NaN offset or scale counts as the identity.
bool IsIdentity(double offset, double scale) {
  return !(offset < 0.0 || offset > 0.0) && !(scale < 1.0 || scale > 1.0);
}

} // namespace

extern "C" void OffsetAndScaleValues(int32_t code, void *data,
                                     const double *offset, const double *scale,
                                     int32_t count) {
  if (IsIdentity(*offset, *scale)) return;
  int32_t bytesPerValue = 0, kind = 0;
  if (!DecodeRealType(code, &bytesPerValue, &kind)) return;
  VisitValueType(bytesPerValue, kind, [&](auto tag) {
    OffsetAndScaleLoop<typename decltype(tag)::type>(
        static_cast<unsigned char *>(data), *offset, *scale, count);
  });
}
