#include "framework/ResourceParser.h"

#include "framework/ResourceReference.h"

namespace quorvel {

CStringTable::CStringTable() : slots_(kResourceEntries) {}

const std::string* CStringTable::Entry(uint64_t number) const
{
    if (number >= slots_.size() || !slots_[number])
        return nullptr;
    return &*slots_[number];
}

bool CStringTable::Define(uint64_t number, std::string text)
{
    if (number >= slots_.size() || slots_[number])
        return false;
    slots_[number] = std::move(text);
    return true;
}

size_t CStringTable::DefinedCount() const
{
    size_t count = 0;
    for (const auto& slot : slots_)
        count += slot.has_value();
    return count;
}

namespace {

enum class State { BetweenEntries, InNumber, AfterBrace, InComment, InText };

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class CResourceTextParser {
public:
    explicit CResourceTextParser(CStringTable& table) : table_(table) {}

    void Feed(char c)
    {
        switch (state_) {
        case State::BetweenEntries:
            if (c == '{') {
                state_ = State::AfterBrace;
            } else if (IsDigit(c)) {
                number_ = static_cast<uint64_t>(c - '0');
                haveNumber_ = true;
                state_ = State::InNumber;
            }
            break;
        case State::InNumber:
            if (IsDigit(c)) {
                // Saturates: any number this large is out of range anyway.
                number_ = number_ > kOutOfRange ? kOutOfRange : number_ * 10 + static_cast<uint64_t>(c - '0');
            } else {
                // The number stays in force for the next brace.
                state_ = c == '{' ? State::AfterBrace : State::BetweenEntries;
            }
            break;
        case State::AfterBrace:
            if (c == '{' || !haveNumber_) {
                // "{{" opens a comment; so does a brace group without a number.
                state_ = State::InComment;
                if (c == '}')
                    state_ = State::BetweenEntries;
            } else {
                // The character is already part of the text, so "{}" is an
                // empty entry rather than a text that runs on to the next brace.
                state_ = State::InText;
                text_.clear();
                escaped_ = false;
                FeedText(c);
            }
            break;
        case State::InComment:
            if (c == '}')
                state_ = State::BetweenEntries;
            break;
        case State::InText:
            FeedText(c);
            break;
        }
    }

private:
    static constexpr uint64_t kOutOfRange = UINT64_MAX / 10 - 10;

    void FeedText(char c)
    {
        if (escaped_) {
            escaped_ = false;
            if (c == 'r')
                Append('\r');
            else if (c == 't')
                Append('\t');
            return;
        }
        switch (c) {
        case '\\':
            escaped_ = true;
            break;
        case '\t':
        case '\n':
        case '\r':
            break;
        case '}':
            table_.Define(number_, std::move(text_));
            text_ = {};
            haveNumber_ = false; // a later brace group needs its own number
            state_ = State::BetweenEntries;
            break;
        default:
            Append(c);
            break;
        }
    }

    void Append(char c)
    {
        if (text_.size() < kMaxEntryText)
            text_.push_back(c);
    }

    CStringTable& table_;
    State state_ = State::BetweenEntries;
    uint64_t number_ = 0;
    bool haveNumber_ = false;
    bool escaped_ = false;
    std::string text_;
};

} // namespace

CStringTable ParseResourceText(std::string_view bytes)
{
    CStringTable table;
    CResourceTextParser parser(table);
    for (char c : bytes)
        parser.Feed(c);
    // An entry still open at the end has lost its closing brace; it is dropped
    // rather than stored half.
    return table;
}

} // namespace quorvel
