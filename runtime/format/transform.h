#pragma once
// TRANSFORM: a value as text under a picture. A picture may start with "@" and function
// letters up to the first blank; the template follows that blank (or is the whole picture
// when there is no "@"). Edit masks of the window library read pictures with the same
// parser.
//
// Function letters (either case):
//   "!"  upper case (character values)
//   "("  negative numbers in parentheses, "(" at the first column
//   ")"  negative numbers in parentheses, "(" just before the first digit or point
//   "B"  left-justify numbers (leading blanks move to the end)
//   "C"  " CR" after positive numbers;  "X"  " DB" after negative numbers
//   "D"  dates under the date format (the default for dates)
//   "E"  European: "." and "," swap in numbers; day and month swap in dates
//   "R"  template literals are inserted into character values instead of overlaid
//   "Z"  blanks when the number is zero
//   "A", "K", "S" (with digits after them) are read and leave the output unchanged.
// Template letters that take a character: "9", "#", "A", "N", "X", "L", "Y", "!" (upper
// case), and in number templates "*" and "$", which also fill the leading blanks. In a
// number template "." places the point and "," a comma (after a digit; else a blank, or the
// sign moved one place right). Every other template character is a literal.
//
// With "(" or ")" a negative number's magnitude is formatted and the parentheses are added
// around it, so the text grows by two characters ("(" at the first column) or by one (the
// "(" takes the blank in front of the digits, when there is one).
//
// A value that is neither number, character, date nor logical, or a picture that is not
// text, raises argument error 1122 (general code 1, subsystem "BASE").
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv {

// A picture split into its function letters (upper case, without "@") and its template.
struct Picture {
  std::string functions;
  std::string templ;
  bool has(char letter) const { return functions.find(letter) != std::string::npos; }
};

// Splits a picture into function letters and template.
Picture parsePicture(std::string_view picture);

// True for the template letters that take a character from a character value.
bool isTemplateLetter(char c);

// TRANSFORM(value, picture).
Value TRANSFORM(const Value& value, const Value& picture);

// Registers TRANSFORM by name.
void registerTransformFunctions();

}  // namespace kv
