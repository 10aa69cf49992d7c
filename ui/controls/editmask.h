#pragma once
// Edit masks: the value, picture and typing rules behind an edit line. The mask holds a value
// of one type (character, numeric, date or logical), the text being edited (Windows-1250
// bytes, one per position), the caret and the selection; it decides which typed characters
// are admitted and where they go. It knows nothing of windows: the edit control copies the
// caret and selection in from its widget, lets the mask act, and shows the text back.
//
// Picture: an optional function part ("@" up to the first blank; "!" upper-cases typed
// letters, "A" admits letters only, "E" European number and date form, "S<digits>" a
// scrolling width) and a template. Without a template the mask makes one from the value:
// as many "X" as a character value is long, the date template of the current date format,
// "L" for a logical value, at least ten "9" (then "." and one "9" per decimal) for a number.
// The template's length is the maximum length of the text.
//
// Template characters: "9" digits (in a numeric edit also a leading sign, and the decimal
// mark when there are decimals), "#" digits, blank, "+", "-", "!" any character upper-cased,
// "A" letters, "N" letters and digits, "X" anything, "L" T/F/Y/N, "Y" Y/N (stored
// upper-case). Any other character is a literal: in a date edit only that very character is
// admitted there; in a character edit the caret passes over it.
//
// Numeric edits keep their text as an integer part, the decimal mark and exactly as many
// decimals as the template has. Digits typed in the integer part are inserted (the decimal
// mark keeps its place, leading zeros go); typing "." or "," moves the caret to the first
// decimal; decimals are typed over. The integer part holds at most as many characters as the
// template has places before its point (a sign takes one).
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv::ui {

enum class MaskType { Character, Numeric, Date, Logical };

class EditMask {
 public:
  EditMask();

  // A new value: its type becomes the mask's type, the picture is applied anew and the value
  // is shown (in its editing form).
  void setValue(const Value& v);
  // A new picture, applied to the current value.
  void setPicture(std::string_view picture);
  const std::string& picture() const { return picture_; }

  MaskType type() const { return type_; }
  // The value as edited, of the mask's type.
  Value value() const;
  // The text being edited.
  const std::string& text() const { return text_; }
  // The text shown: a numeric value without the focus is formatted with the whole picture
  // (commas included); otherwise the editing text. Leading blanks of numbers are dropped.
  std::string shownText(bool focused) const;
  // The longest text the template allows.
  int maxLength() const { return static_cast<int>(templ_.size()); }
  int decimals() const { return decimals_; }
  const std::string& templ() const { return templ_; }

  int caret() const { return caret_; }
  int selStart() const { return selStart_; }
  int selLength() const { return selLength_; }
  // Caret and selection as the widget has them (clamped to the text).
  void setCaret(int caret);
  void setSelection(int start, int length);

  // Types one character at the caret; false (nothing changed) when it is not admitted.
  bool typeChar(unsigned char c);
  // Backspace: the selection goes, or the caret moves one place left and deletes there
  // (a character edit closes the gap; date and logical edits leave a blank).
  bool backspace();
  // Delete: the selection goes, or the character at the caret becomes a blank (numeric edits
  // close the gap).
  bool deleteChar();
  // Removes the selected range, if any; true when something went.
  bool deleteSelection();

  // The caret position a numeric edit starts with when it takes the focus (the end of the
  // integer part); 0 for other edits.
  int entryCaret() const;

 private:
  void applyPicture();
  void showValue();
  bool admits(char t, unsigned char& c) const;
  bool typeNumeric(unsigned char c);
  void normaliseNumber();
  int pointPos() const;
  int integerRoom() const;
  char decimalMark() const;

  Value value_;
  MaskType type_ = MaskType::Character;
  std::string picture_;
  std::string functions_;
  std::string templ_;
  std::string fullTempl_;  // numeric: the template with its commas, for display
  int decimals_ = 0;
  bool signedTemplate_ = false;
  std::string text_;
  int caret_ = 0;
  int selStart_ = 0;
  int selLength_ = 0;
  bool edited_ = false;  // the text was changed since the value was set
};

}  // namespace kv::ui
