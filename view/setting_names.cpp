#include "view/setting_names.h"

#include <cmath>

namespace zel::setting {

float FromMicrometres(uint32_t stored) { return static_cast<float>(static_cast<int32_t>(stored)) * 0.01f; }

uint32_t ToMicrometres(float tenths) {
  const float product = tenths * 100.0f;
  if (std::isnan(product)) return 0;
  // Add a half with the product's sign, then truncate.
  const double rounded = std::trunc(static_cast<double>(product) + (product < 0 ? -0.5 : 0.5));
  if (rounded >= 2147483647.0) return 0x7FFFFFFFu;
  if (rounded <= -2147483648.0) return 0x80000000u;
  return static_cast<uint32_t>(static_cast<int32_t>(rounded));
}

}  // namespace zel::setting
