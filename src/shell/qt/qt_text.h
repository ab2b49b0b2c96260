#pragma once

#include <QString>
#include <string_view>

namespace vantrel::qt {

// The core's UTF-8 text as Qt's.
inline QString QtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace vantrel::qt
