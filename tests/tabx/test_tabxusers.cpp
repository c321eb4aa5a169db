#include "tabxtest.h"

#include "iberror.h"

namespace {

class TabXUsers : public TabXTest
{
protected:
    void SetUp() override
    {
        TabXTest::SetUp();
        creaArchivio();
        utente(1, "ROSSI", "ABC", "ACME");
        utente(2, "BIANCHI", QString()); // no password stored
        utente(3, "VERDI", "");
        utente(4, "D'AMICO", "l'ultima", "D'Ditta");
        x = crea(0);
    }
    std::unique_ptr<TTabXForm> x;
};

const QString kNomeMalevolo = QStringLiteral("x') OR (PWDUTENTE IS NULL) OR ('1'='2");

} // namespace

TEST_F(TabXUsers, PasswordCheckInMode0)
{
    EXPECT_TRUE(x->VerificaPasswordUser("ROSSI", "ABC"));
    EXPECT_FALSE(x->VerificaPasswordUser("ROSSI", "abc"));  // case counts
    EXPECT_FALSE(x->VerificaPasswordUser("ROSSI", "ABC ")); // nothing is trimmed
    EXPECT_FALSE(x->VerificaPasswordUser("ROSSI", ""));
    EXPECT_TRUE(x->VerificaPasswordUser("BIANCHI", "qualsiasi")); // NULL password
    EXPECT_TRUE(x->VerificaPasswordUser("VERDI", "qualsiasi"));   // empty password
    EXPECT_FALSE(x->VerificaPasswordUser("NESSUNO", ""));
    EXPECT_TRUE(x->VerificaPasswordUser("D'AMICO", "l'ultima"));
    EXPECT_FALSE(x->VerificaPasswordUser("D'AMICO", "l´ultima"));
}

TEST_F(TabXUsers, CraftedNamesAreNamesNotConditions)
{
    // BIANCHI has no password: as SQL text this name would let anyone in.
    EXPECT_FALSE(x->VerificaPasswordUser(kNomeMalevolo, "x"));
    EXPECT_FALSE(x->VerificaPasswordUser("ROSSI' --", "x"));
    EXPECT_EQ(x->CodiceUser(kNomeMalevolo), 0);
    EXPECT_EQ(x->PasswordUser("ROSSI') OR ('1'='1"), QString());
    EXPECT_FALSE(x->SetUserPerNome(kNomeMalevolo));
    EXPECT_EQ(x->CodiceUser("D'AMICO"), 4);
    EXPECT_EQ(x->DittaUser("D'AMICO"), "D'Ditta");
    // Longer than the column: no such user, no truncation error.
    EXPECT_EQ(x->CodiceUser(QString(300, 'R')), 0);
    EXPECT_TRUE(rec.seen().size() == 1); // the archive's creation notice only
}

TEST_F(TabXUsers, PasswordCheckOutsideMode0AlwaysPasses)
{
    rec.clear();
    scriviFile("NOMIDIT/UTENTI.INI", "[1 ROSSI]\r\nA=1\r\n");
    auto file = crea(1);
    EXPECT_TRUE(file->VerificaPasswordUser("ROSSI", "sbagliata"));
    EXPECT_TRUE(file->VerificaPasswordUser("NESSUNO", ""));
    EXPECT_EQ(file->PasswordUser("ROSSI"), QString());
    EXPECT_EQ(file->CodiceUser("ROSSI"), 0);
    EXPECT_EQ(file->DittaUser("ROSSI"), QString());
    auto nessuno = crea(3);
    EXPECT_TRUE(nessuno->VerificaPasswordUser("ROSSI", "sbagliata"));
}

TEST_F(TabXUsers, CaricaUserAppendsInCodeOrder)
{
    utente(0, "ZERO");
    QStringList lista{"prima"};
    x->CaricaUser(lista);
    x->CaricaUser(lista);
    const QStringList giro{"ZERO", "ROSSI", "BIANCHI", "VERDI", "D'AMICO"};
    EXPECT_EQ(lista, QStringList{"prima"} + giro + giro);
}

TEST_F(TabXUsers, CurrentUserByNameAndNumber)
{
    EXPECT_TRUE(x->SetUserPerNome("ROSSI"));
    EXPECT_EQ(x->GetNumUser(), 1);
    EXPECT_EQ(x->GetNomeUser(), "ROSSI");

    EXPECT_FALSE(x->SetUserPerNome("NESSUNO"));
    EXPECT_EQ(x->GetNumUser(), 0);
    EXPECT_EQ(x->GetNomeUser(), QString());

    EXPECT_TRUE(x->SetUserPerNum(4));
    EXPECT_EQ(x->GetNomeUser(), "D'AMICO");
    EXPECT_FALSE(x->SetUserPerNum(99));
    EXPECT_EQ(x->GetNumUser(), 99);
    EXPECT_EQ(x->GetNomeUser(), QString());
}

TEST_F(TabXUsers, TwoUsersWithOneNameKeepTheirOwnCompany)
{
    utente(5, "DOPPIO", "p5", "DITTA5");
    utente(6, "DOPPIO", "p6", "DITTA6");
    riga(5, "DITTA5", "X", 1, "cinque");
    riga(6, "DITTA5", "X", 1, "sbagliato");
    riga(6, "DITTA6", "X", 2, "sei");

    ASSERT_TRUE(x->SetUserPerNum(6));
    EXPECT_EQ(x->CaricaParametro("X"), "sei");
    ASSERT_TRUE(x->SetUserPerNum(5));
    EXPECT_EQ(x->CaricaParametro("X"), "cinque");

    // By name, the lowest code answers.
    EXPECT_EQ(x->CodiceUser("DOPPIO"), 5);
    EXPECT_EQ(x->PasswordUser("DOPPIO"), "p5");
    EXPECT_TRUE(x->VerificaPasswordUser("DOPPIO", "p5"));
    EXPECT_FALSE(x->VerificaPasswordUser("DOPPIO", "p6"));
    ASSERT_TRUE(x->SetUserPerNome("DOPPIO"));
    EXPECT_EQ(x->GetNumUser(), 5);
}

TEST_F(TabXUsers, UserAddedByAnotherProgramMeanwhileCanBeMadeCurrent)
{
    EXPECT_EQ(x->CodiceUser("ROSSI"), 1); // a lookup: its snapshot stays open
    utente(9, "NUOVO", "p9", "DITTA9");
    riga(9, "DITTA9", "X", 1, "nove");
    ASSERT_TRUE(x->SetUserPerNum(9));
    EXPECT_EQ(x->GetNomeUser(), "NUOVO");
    EXPECT_EQ(x->CaricaParametro("X"), "nove");
}

TEST_F(TabXUsers, DecodificaAndProfile)
{
    EXPECT_EQ(x->DecodificaNomeUser(4), "D'AMICO");
    EXPECT_EQ(x->DecodificaNomeUser(42), QString());
    EXPECT_EQ(x->NomeUserDaCodice(1), "ROSSI");

    ASSERT_TRUE(x->SetUserPerNum(1));
    EXPECT_EQ(x->ProfiloSicurezzaUtente(), 0); // NULL
    // Another program changes it: the next call reads afresh.
    exec("UPDATE UTENTI SET PROFILOSICUREZZA=7 WHERE CODICE=1");
    EXPECT_EQ(x->ProfiloSicurezzaUtente(), 7);
    ASSERT_FALSE(x->SetUserPerNum(42));
    EXPECT_EQ(x->ProfiloSicurezzaUtente(), 0); // no such user
}

TEST_F(TabXUsers, LookupsWithoutTheUserDatabaseRaise)
{
    auto nessuno = crea(3);
    EXPECT_THROW(nessuno->ProfiloSicurezzaUtente(), EIBError);
    EXPECT_THROW(nessuno->DecodificaNomeUser(1), EIBError);
}

// ---- File mode -----------------------------------------------------------

using TabXFileUsers = TabXTest;

TEST_F(TabXFileUsers, NamesFollowTheSuitesRuleForTheSectionNames)
{
    scriviFile("NOMIDIT/UTENTI.INI", "[1 ROSSI]\r\nA=1\r\n[2 BIANCHI]\r\nA=1\r\n"
                                     "[12 VERDI]\r\nA=1\r\n");
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    auto x = crea(1);
    // Digits anywhere, name from the third character, the last entry wins.
    EXPECT_EQ(x->NomeUserDaCodice(1), " VERDI");
    EXPECT_EQ(x->NomeUserDaCodice(2), " VERDI");
    EXPECT_EQ(x->NomeUserDaCodice(12), " VERDI");
    EXPECT_EQ(x->NomeUserDaCodice(3), QString());

    QStringList lista{"prima"};
    x->CaricaUser(lista);
    x->CaricaUser(lista);
    EXPECT_EQ(lista, (QStringList{"prima", "1 ROSSI", "2 BIANCHI", "12 VERDI", "1 ROSSI",
                                  "2 BIANCHI", "12 VERDI"}));

    scriviFile("NOMIDIT/UTENTI.INI", "[1 ROSSI]\r\nA=1\r\n[2 BIANCHI]\r\nA=1\r\n");
    EXPECT_EQ(x->NomeUserDaCodice(1), "ROSSI");
    EXPECT_TRUE(x->SetUserPerNum(2));
    EXPECT_EQ(x->GetNomeUser(), "BIANCHI");
    // Outside mode 0 a name gives user 0.
    EXPECT_FALSE(x->SetUserPerNome("BIANCHI"));
    EXPECT_EQ(x->GetNumUser(), 0);
}

TEST_F(TabXFileUsers, MissingUserListGivesNoUsers)
{
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    auto x = crea(1);
    QStringList lista;
    x->CaricaUser(lista);
    EXPECT_TRUE(lista.isEmpty());
    EXPECT_FALSE(x->SetUserPerNum(1));
}
