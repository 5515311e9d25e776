// A small JSON reader for the replay traces: objects, arrays, numbers, strings,
// null; and a writer of the same values in compact form.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace minijson {

struct Value {
    enum Kind { Null, Int, Real, String, Array, Object } kind = Null;
    int64_t number = 0;
    double real = 0;
    std::string text;
    std::vector<Value> items;
    std::vector<std::pair<std::string, Value>> members;  // in file order

    bool Has(const std::string& key) const {
        for (const auto& m : members)
            if (m.first == key) return true;
        return false;
    }
    const Value& operator[](const std::string& key) const {
        for (const auto& m : members)
            if (m.first == key) return m.second;
        throw std::runtime_error("no member " + key);
    }
    const Value& operator[](size_t i) const { return items.at(i); }
    int64_t I() const {
        if (kind != Int) throw std::runtime_error("not an integer");
        return number;
    }
    size_t Size() const { return items.size(); }
    std::vector<std::string> Keys() const {
        std::vector<std::string> keys;
        for (const auto& m : members) keys.push_back(m.first);
        return keys;
    }
};

class Parser {
public:
    explicit Parser(const std::string& s) : s_(s) {}
    Value Parse() {
        Value v = ParseValue();
        Skip();
        if (p_ != s_.size()) throw std::runtime_error("trailing characters");
        return v;
    }

private:
    void Skip() {
        while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t' || s_[p_] == '\n' || s_[p_] == '\r')) ++p_;
    }
    char Peek() {
        Skip();
        if (p_ >= s_.size()) throw std::runtime_error("unexpected end");
        return s_[p_];
    }
    void Expect(char c) {
        if (Peek() != c) throw std::runtime_error(std::string("expected ") + c);
        ++p_;
    }
    Value ParseValue() {
        const char c = Peek();
        Value v;
        if (c == '{') {
            v.kind = Value::Object;
            ++p_;
            if (Peek() == '}') {
                ++p_;
                return v;
            }
            for (;;) {
                std::string key = ParseString();
                Expect(':');
                v.members.emplace_back(key, ParseValue());
                if (Peek() == ',') {
                    ++p_;
                    continue;
                }
                Expect('}');
                return v;
            }
        }
        if (c == '[') {
            v.kind = Value::Array;
            ++p_;
            if (Peek() == ']') {
                ++p_;
                return v;
            }
            for (;;) {
                v.items.push_back(ParseValue());
                if (Peek() == ',') {
                    ++p_;
                    continue;
                }
                Expect(']');
                return v;
            }
        }
        if (c == '"') {
            v.kind = Value::String;
            v.text = ParseString();
            return v;
        }
        if (c == '-' || (c >= '0' && c <= '9')) {
            v.kind = Value::Int;
            const std::string digits = s_.substr(p_, 32);
            size_t used = 0;
            v.number = std::stoll(digits, &used);
            if (used < digits.size() && (digits[used] == '.' || digits[used] == 'e' || digits[used] == 'E')) {
                v.kind = Value::Real;
                v.real = std::stod(digits, &used);
            }
            p_ += used;
            return v;
        }
        if (s_.compare(p_, 4, "null") == 0) {
            p_ += 4;
            return v;
        }
        throw std::runtime_error("unexpected character");
    }
    std::string ParseString() {
        Expect('"');
        std::string out;
        while (p_ < s_.size() && s_[p_] != '"') {
            char c = s_[p_++];
            if (static_cast<unsigned char>(c) < 0x20) throw std::runtime_error("control character in string");
            if (c == '\\') {
                if (p_ >= s_.size()) throw std::runtime_error("bad escape");
                char e = s_[p_++];
                switch (e) {
                    case '"': out += '"'; break;
                    case '\\': out += '\\'; break;
                    case '/': out += '/'; break;
                    case 'n': out += '\n'; break;
                    case 't': out += '\t'; break;
                    case 'r': out += '\r'; break;
                    case 'b': out += '\b'; break;
                    case 'f': out += '\f'; break;
                    case 'u': {
                        if (p_ + 4 > s_.size()) throw std::runtime_error("bad escape");
                        out += static_cast<char>(std::stoi(s_.substr(p_, 4), nullptr, 16));
                        p_ += 4;
                        break;
                    }
                    default: throw std::runtime_error("bad escape");
                }
            } else {
                out += c;
            }
        }
        Expect('"');
        return out;
    }
    const std::string& s_;
    size_t p_ = 0;
};

inline Value Parse(const std::string& s) { return Parser(s).Parse(); }

// Compact JSON of a value (numbers as read, strings escaped only for '"' and '\\').
inline std::string Write(const Value& v) {
    switch (v.kind) {
        case Value::Null: return "null";
        case Value::Int: return std::to_string(v.number);
        case Value::Real: {
            std::string r = std::to_string(v.real);
            while (r.size() > 1 && r.back() == '0' && r[r.size() - 2] != '.') r.pop_back();
            return r;
        }
        case Value::String: {
            std::string out = "\"";
            for (char c : v.text) out += (c == '"' || c == '\\') ? std::string("\\") + c : std::string(1, c);
            return out + "\"";
        }
        case Value::Array: {
            std::string out = "[";
            for (const Value& item : v.items) out += (out.size() > 1 ? "," : "") + Write(item);
            return out + "]";
        }
        case Value::Object: {
            std::string out = "{";
            for (const auto& m : v.members)
                out += (out.size() > 1 ? ",\"" : "\"") + m.first + "\":" + Write(m.second);
            return out + "}";
        }
    }
    return "";
}

}  // namespace minijson
