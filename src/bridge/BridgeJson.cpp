#include "bridge/BridgeJson.h"

#include <nlohmann/json.hpp>

namespace Velmora::Shared {

const TJsonValue* TJsonValue::Member(std::string_view key) const {
    for (const TJsonMember& member : Members)
        if (member.Key == key) return &member.Value;
    return nullptr;
}

namespace {

using TJson = nlohmann::json;

// Builds the kept levels of the value while the parser walks the text. Containers beyond them
// are counted, not stored.
class TBridgeJsonBuilder final : public nlohmann::json_sax<TJson> {
public:
    TJsonValue Root;

    bool null() override {
        Place(TJsonKind::Null);
        return true;
    }
    bool boolean(bool value) override {
        Place(value ? TJsonKind::True : TJsonKind::False);
        return true;
    }
    // The parser reports literals with a leading minus here and all others as unsigned, so a
    // zero here was written "-0"; every other integer's literal is its decimal form.
    bool number_integer(number_integer_t value) override {
        return Scalar(TJsonKind::Number, value == 0 ? std::string("-0") : std::to_string(value));
    }
    bool number_unsigned(number_unsigned_t value) override { return Scalar(TJsonKind::Number, std::to_string(value)); }
    bool number_float(number_float_t, const string_t& literal) override { return Scalar(TJsonKind::Number, literal); }
    bool string(string_t& value) override { return Scalar(TJsonKind::String, std::move(value)); }
    bool binary(binary_t&) override { return false; } // not produced by the JSON text format

    bool start_object(std::size_t) override {
        TJsonValue* value = Place(TJsonKind::Object);
        if (value != nullptr && FOpen.size() < KeptObjectLevels) FOpen.push_back(value);
        else ++FSkipped;
        return true;
    }
    bool key(string_t& name) override {
        if (FSkipped == 0) FKey = std::move(name);
        return true;
    }
    bool end_object() override { return Close(); }
    // The bridge never reads into arrays.
    bool start_array(std::size_t) override {
        Place(TJsonKind::Array);
        ++FSkipped;
        return true;
    }
    bool end_array() override { return Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    // The slot for the next value, or null inside a container that is not kept. Pointers in
    // FOpen stay valid: a parent only grows after its open child has closed.
    TJsonValue* Place(TJsonKind kind) {
        if (FSkipped > 0) return nullptr;
        TJsonValue* slot = &Root;
        if (!FOpen.empty()) {
            auto& members = FOpen.back()->Members;
            members.push_back(TJsonMember{std::move(FKey), {}});
            slot = &members.back().Value;
        }
        slot->Kind = kind;
        return slot;
    }
    bool Scalar(TJsonKind kind, std::string text) {
        if (TJsonValue* slot = Place(kind)) slot->Scalar = std::move(text);
        return true;
    }
    bool Close() {
        if (FSkipped > 0) --FSkipped;
        else FOpen.pop_back();
        return true;
    }

    std::vector<TJsonValue*> FOpen; // kept objects still open, outermost first
    std::size_t FSkipped = 0;       // depth inside a container whose content is not kept
    std::string FKey;
};

} // namespace

std::optional<TJsonValue> ParseBridgeJson(std::string_view utf8) {
    TBridgeJsonBuilder builder;
    if (!TJson::sax_parse(utf8.begin(), utf8.end(), &builder)) return std::nullopt;
    return std::move(builder.Root);
}

} // namespace Velmora::Shared
