#pragma once
// Tokens of expression text. The lexer turns the whole text into a token list up front; the
// parser (runtime/macro/parser.h) walks it. Letters are accepted in any case; names are
// upper-cased.
#include <string>
#include <string_view>
#include <vector>

namespace kv::macro {

enum class Tok {
  End,
  Name,       // identifier, text upper-cased
  Number,     // numeric literal, text as written
  String,     // string literal, text without delimiters
  True,       // .T. .Y.
  False,      // .F. .N.
  And,        // .AND.
  Or,         // .OR.
  Not,        // .NOT. and !
  Eq,         // =
  EqEq,       // ==
  Ne,         // != <> #
  Lt,         // <
  Le,         // <=
  Gt,         // >
  Ge,         // >=
  Dollar,     // $
  Plus,       // +
  Minus,      // -
  Star,       // *
  Slash,      // /
  Percent,    // %
  Power,      // ^ and **
  Inc,        // ++
  Dec,        // --
  Assign,     // :=
  PlusEq,     // +=
  MinusEq,    // -=
  StarEq,     // *=
  SlashEq,    // /=
  PercentEq,  // %=
  PowerEq,    // ^= and **=
  Arrow,      // ->
  Colon,      // :
  Amp,        // &
  At,         // @
  LParen,
  RParen,
  LBracket,
  RBracket,
  LBrace,
  RBrace,
  Bar,  // |
  Comma,
};

struct Token {
  Tok kind;
  std::string text;
  int pos;  // 1-based column of the first character
};

// A text that cannot be read or compiled: the message names the problem and its column.
struct CompileError {
  std::string message;
};

// Splits `text` into tokens, ending with Tok::End. Throws CompileError for a character that
// starts no token or an unterminated string.
std::vector<Token> tokenize(std::string_view text);

// How a token is written, for messages ("end of text" for Tok::End).
std::string describe(const Token& t);

}  // namespace kv::macro
