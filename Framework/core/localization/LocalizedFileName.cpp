#include "Framework/core/localization/LocalizedFileName.h"

#include "Framework/core/text/TextUtils.h"

namespace zor {

namespace {

std::string& suffixText() {
    static std::string suffix;
    return suffix;
}

} // namespace

void setLocalizedFileSuffix(const std::string& suffix) { suffixText() = suffix; }

const std::string& localizedFileSuffix() { return suffixText(); }

std::string localizedFileName(const std::string& name) {
    const std::string& suffix = suffixText();
    if (suffix.empty()) return name;
    std::string base = removeExtension(name);
    if (base.size() < suffix.size() || base.compare(base.size() - suffix.size(), suffix.size(), suffix) != 0)
        base += suffix;
    return base + "." + extensionOf(name);
}

} // namespace zor
