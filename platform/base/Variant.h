#pragma once
#include <cstdint>
#include <string>
#include <variant>

namespace wb {

// A value of one of a few kinds, or empty: what a free stored value holds.
class Variant {
public:
    Variant() = default;
    Variant(bool v) : v_(v) {}
    Variant(int v) : v_(int64_t(v)) {}
    Variant(int64_t v) : v_(v) {}
    Variant(double v) : v_(v) {}
    Variant(std::string v) : v_(std::move(v)) {}
    Variant(const char* v) : v_(std::string(v)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool IsString() const { return std::holds_alternative<std::string>(v_); }
    // Empty gives "", Booleans "True" and "False", numbers their decimal form
    // (reals with up to 15 significant digits and "." as separator).
    std::string ToString() const;
    bool operator==(const Variant& o) const { return v_ == o.v_; }

private:
    std::variant<std::monostate, bool, int64_t, double, std::string> v_;
};

} // namespace wb
