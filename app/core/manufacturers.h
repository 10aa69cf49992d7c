#pragma once
// The phone manufacturer list below the window: the combo box's entries built from ProizTel,
// and a manufacturer added, deleted or all of them deleted, with the boxes the user answers.
// The entries are texts: first always the placeholder "Proizvodjac", then the Naziv of every
// manufacturer in index order (alphabetical, case-insensitive), as stored (50 characters).
// Positions in the list are 1-based, as the combo's ItemIndex. The list is built anew from the
// table after every change, so other stations' additions appear with it.
#include <string>
#include <string_view>

#include "app/core/customers.h"
#include "runtime/value/value.h"

namespace kv::app {

// The first entry of the list, which stands for no manufacturer chosen.
inline constexpr const char* kMakerPlaceholder = "Proizvodjac";

// The input box of a new manufacturer: title, prompt, picture (any character, at most 50) and
// edit width.
inline constexpr const char* kMakerInputTitle = "Unos";
inline constexpr const char* kMakerInputPrompt = "Naziv proizvodjaca:";
inline constexpr int kMakerInputWidth = 150;
std::string makerInputPicture();

struct MakerList {
  Value items;       // the entries, the placeholder first
  int selected = 1;  // the position of the entry equal to the name sought, 1 when none
};

// The list from ProizTel, running the event poll once per record; `exact`, when given, is the
// (50-character) name whose position becomes `selected`. Selects ProizTel.
MakerList buildMakerList(std::string_view exact = {});

struct MakerResult {
  ListOutcome outcome = ListOutcome::Refused;
  // The list to give the combo; nil when the combo is left alone (a refusal, a No to deleting
  // all). After an add `list.selected` is the ItemIndex to set; after a delete it is not set.
  MakerList list;
  bool selectItem = false;  // set ItemIndex to list.selected
};

// Adds the manufacturer entered in the input box (`typed`, padded to 50): a blank name is
// refused with "Niste uneli Naziv Proizvodjaca."; a name stored already (compared without
// regard to case) is written over in the case typed, a new one appended through the key guard,
// so two stations adding the same new name store it once. The list is rebuilt and the name's
// entry selected.
MakerResult addManufacturer(std::string_view typed);

// Deletes the manufacturer the combo shows (`caption`, padded to 50): when stored, after Yes to
// "Sigurno brisete Proizvodjaca: " + NAME + "?" the record is marked deleted and "Proizvodjac
// je obrisan." is shown; when not stored "Proizvodjac " + NAME + " nije pronadjen u bazi
// podataka." (NAME upper-cased without its trailing blanks). The list is rebuilt in every case.
MakerResult deleteManufacturer(std::string_view caption);

// After Yes to "Sigurno brisete SVE Proizvodjace?" marks every manufacturer deleted, shows
// "Svi Proizvodjaci su obrisani." and answers the list of the placeholder alone; any other
// answer changes nothing (Declined, no list).
MakerResult deleteAllManufacturers();

}  // namespace kv::app
