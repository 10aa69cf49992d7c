#include "runtime/macro/lexer.h"

#include <cctype>

namespace kv::macro {

namespace {

bool isNameStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string upper(std::string_view s) {
  std::string r(s);
  for (char& c : r) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return r;
}

[[noreturn]] void fail(const std::string& what, std::size_t pos) {
  throw CompileError{what + " at column " + std::to_string(pos + 1)};
}

// A dotted word (".T.", ".AND." ...) starting at text[i], or End when there is none.
Tok dottedWord(std::string_view text, std::size_t i, std::size_t& len) {
  static const struct {
    const char* word;
    Tok kind;
  } words[] = {{".T.", Tok::True},  {".Y.", Tok::True}, {".F.", Tok::False}, {".N.", Tok::False},
               {".AND.", Tok::And}, {".OR.", Tok::Or},  {".NOT.", Tok::Not}};
  for (const auto& w : words) {
    std::string_view word(w.word);
    if (text.size() - i >= word.size() && upper(text.substr(i, word.size())) == word) {
      len = word.size();
      return w.kind;
    }
  }
  return Tok::End;
}

// Operators by their longest spelling first.
struct OpSpelling {
  const char* text;
  Tok kind;
};
const OpSpelling kOperators[] = {
    {"**=", Tok::PowerEq},  {"**", Tok::Power},  {"*=", Tok::StarEq},  {"*", Tok::Star},
    {":=", Tok::Assign},    {":", Tok::Colon},   {"->", Tok::Arrow},   {"-=", Tok::MinusEq},
    {"--", Tok::Dec},       {"-", Tok::Minus},   {"++", Tok::Inc},     {"+=", Tok::PlusEq},
    {"+", Tok::Plus},       {"==", Tok::EqEq},   {"=", Tok::Eq},       {"!=", Tok::Ne},
    {"!", Tok::Not},        {"<>", Tok::Ne},     {"<=", Tok::Le},      {"<", Tok::Lt},
    {">=", Tok::Ge},        {">", Tok::Gt},      {"#", Tok::Ne},       {"$", Tok::Dollar},
    {"%=", Tok::PercentEq}, {"%", Tok::Percent}, {"^=", Tok::PowerEq}, {"^", Tok::Power},
    {"/=", Tok::SlashEq},   {"/", Tok::Slash},   {"&", Tok::Amp},      {"@", Tok::At},
    {"(", Tok::LParen},     {")", Tok::RParen},  {"[", Tok::LBracket}, {"]", Tok::RBracket},
    {"{", Tok::LBrace},     {"}", Tok::RBrace},  {"|", Tok::Bar},      {",", Tok::Comma},
};

// "[" opens a string unless it follows something that can be indexed.
bool bracketIndexes(const std::vector<Token>& toks) {
  if (toks.empty()) return false;
  Tok k = toks.back().kind;
  return k == Tok::Name || k == Tok::RParen || k == Tok::RBracket || k == Tok::RBrace;
}

}  // namespace

std::vector<Token> tokenize(std::string_view text) {
  std::vector<Token> toks;
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    int pos = static_cast<int>(i) + 1;
    if (isNameStart(c)) {
      std::size_t j = i;
      while (j < text.size() && isNameChar(text[j])) ++j;
      toks.push_back({Tok::Name, upper(text.substr(i, j - i)), pos});
      i = j;
      continue;
    }
    if (isDigit(c) || (c == '.' && i + 1 < text.size() && isDigit(text[i + 1]))) {
      std::size_t j = i;
      while (j < text.size() && isDigit(text[j])) ++j;
      if (j < text.size() && text[j] == '.' && j + 1 < text.size() && isDigit(text[j + 1])) {
        ++j;
        while (j < text.size() && isDigit(text[j])) ++j;
      }
      if (j < text.size() && isNameStart(text[j])) fail("malformed number", i);
      toks.push_back({Tok::Number, std::string(text.substr(i, j - i)), pos});
      i = j;
      continue;
    }
    if (c == '"' || c == '\'' || (c == '[' && !bracketIndexes(toks))) {
      char close = c == '[' ? ']' : c;
      std::size_t end = text.find(close, i + 1);
      if (end == std::string_view::npos) fail("unterminated string", i);
      toks.push_back({Tok::String, std::string(text.substr(i + 1, end - i - 1)), pos});
      i = end + 1;
      continue;
    }
    if (c == '.') {
      std::size_t len = 0;
      Tok k = dottedWord(text, i, len);
      if (k == Tok::End) fail("unexpected \".\"", i);
      toks.push_back({k, std::string(text.substr(i, len)), pos});
      i += len;
      continue;
    }
    bool matched = false;
    for (const auto& op : kOperators) {
      std::string_view s(op.text);
      if (text.substr(i, s.size()) == s) {
        toks.push_back({op.kind, std::string(s), pos});
        i += s.size();
        matched = true;
        break;
      }
    }
    if (!matched) fail(std::string("unexpected character \"") + c + "\"", i);
  }
  toks.push_back({Tok::End, std::string(), static_cast<int>(text.size()) + 1});
  return toks;
}

std::string describe(const Token& t) {
  if (t.kind == Tok::End) return "end of text";
  if (t.kind == Tok::String) return "string \"" + t.text + "\"";
  return "\"" + t.text + "\"";
}

}  // namespace kv::macro
