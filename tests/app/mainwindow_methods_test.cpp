// The main form's methods: declared in their fixed order, each found by its name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/fkalvedo.h"

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

}  // namespace

TEST(MainFormClass, DeclaresEveryMethodInItsOrder) {
  EXPECT_EQ(app::formMethodNames(), kDeclared);
}
