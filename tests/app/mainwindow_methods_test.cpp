// The main form's methods: declared in their fixed order, and which of them are still empty
// (their part of the program is not built yet). Whoever builds a method deletes its name from
// kStillEmpty; a method built but still listed, or listed but gone, fails here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/main_window.h"

using namespace kv;

namespace {

const std::vector<std::string> kDeclared = {"Create",
                                            "BrisiKorisnika",
                                            "BrisiProizvodjaca",
                                            "BrisiSveKorisnike",
                                            "BrisiSveProizvodjace",
                                            "BrojPrimerakaStampe",
                                            "ColorPregled",
                                            "DodajProizvodjaca",
                                            "DozvoliIzmenuNaloga",
                                            "IzborStampaca",
                                            "Jezik",
                                            "MyTabOrder",
                                            "NadjiNalog",
                                            "NapraviGlavniMeni",
                                            "NoviBrojNAloga",
                                            "NoviNalog",
                                            "PopuniKorisnike",
                                            "PopuniPregled",
                                            "SnimiKorisnika",
                                            "Timer1OnTimer",
                                            "UnosKlauzule",
                                            "ZaglavljeNaloga",
                                            "bBrisiNalogOnClick",
                                            "bSnimiNalogOnClick",
                                            "bStampajNalogOnClick",
                                            "cbOstaloOnChange",
                                            "eBrojNalogaOnKeyDown",
                                            "eKontaktKorisnikaOnKeyDown",
                                            "eNazivKorisnikaOnEnter",
                                            "eNazivKorisnikaOnKeyDown",
                                            "eOstaloPriborOnEnter",
                                            "eOstaloPriborOnExit",
                                            "eOstaloTelefonOnEnter",
                                            "eOstaloTelefonOnExit",
                                            "ePretragaNalogaOnKeyDown",
                                            "fKalvedoOnCreate",
                                            "mOpisKvaraOnEnter",
                                            "mOpisKvaraOnExit",
                                            "rbOstaloOnEnter",
                                            "sbMenuKorisnikaOnClick",
                                            "sbMenuNalogOnClick",
                                            "sbMenuProizvodjacaTelefonaOnClick",
                                            "sgKorisniciOnClick",
                                            "sgPregledOnClick",
                                            "sgPregledOnDrawCell",
                                            "sgPregledOnHeaderClick"};

// The methods that do nothing yet, by the part of the program that will fill them.
const std::vector<std::string> kStillEmpty = {
    // Printing.
    "bStampajNalogOnClick"};

using MainFormMethods = kvtest::MainWindowTest;

}  // namespace

TEST(MainFormClass, DeclaresEveryMethodInItsOrder) {
  EXPECT_EQ(app::formMethodNames(), kDeclared);
}

TEST_F(MainFormMethods, TheListedMethodsAreStillEmpty) {
  withMainForm([](const Value& form, ui::Form&) {
    for (const std::string& name : kStillEmpty) {
      app::clearEmptyMethodsRun();
      const Value result = send(form, name, {form});
      EXPECT_TRUE(result.isNil()) << name;
      EXPECT_EQ(app::emptyMethodsRun(), std::vector<std::string>{name})
          << name << " is built: delete it from kStillEmpty";
    }
  });
  EXPECT_TRUE(errors.empty());
}
