// The message table and the choice of its row by the user's language.
#include "startup/LocalizedMessages.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace Velmora::Runtime {
namespace {

using Shared::TextView;
using Shared::ToUtf8;

struct Row {
    const char* Code;
    std::array<TextView, 10> Texts;
};

// The six rows as they must read, text 0 being the row's language code.
const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"en",
         {u"en", u"Error", u"Confirm", u"Accept", u"Cancel", u"This is not a valid Windows application.",
          u"The Microsoft WebView2 runtime is required to run this application. This application cannot continue and "
          u"will be closed now.",
          u"The Microsoft WebView2 runtime is required to run this application. Do you want to install it now?",
          u"This application cannot continue and will be closed now.",
          u"You cancel the installation of Microsoft WebView2 runtime, This application cannot continue and will be "
          u"closed now."}},
        {"es",
         {u"es", u"Error", u"Confirmar", u"Aceptar", u"Cancelar", u"Esta no es una aplicación de Windows válida.",
          u"El Microsoft WebView2 runtime es necesario para esta aplicación. Esta aplicación no puede continuar y se "
          u"cerrará ahora.",
          u"El Microsoft WebView2 runtime es necesario para esta aplicación. ¿Quiere instalarlo ahora?",
          u"Esta aplicación no puede continuar y se cerrará ahora.",
          u"Ha cancelado la instalación de Microsoft WebView2 runtime. Esta aplicación no puede continuar y se cerrará "
          u"ahora."}},
        {"it",
         {u"it", u"Errore", u"Confermare", u"Accettare", u"Annulla", u"Questa non è un'applicazione Windows valida.",
          u"Il runtime di Microsoft WebView2 è necessario per eseguire questa applicazione. Questa applicazione non "
          u"può continuare e verrà chiusa ora.",
          u"Il runtime di Microsoft WebView2 è necessario per eseguire questa applicazione. Vuoi installarlo ora?",
          u"Questa applicazione non può continuare e verrà chiusa ora.",
          u"Annulla l'installazione del runtime di Microsoft WebView2, questa applicazione non può continuare e verrà "
          u"chiusa ora."}},
        {"de",
         {u"de", u"Error", u"Bestätigen", u"Akzeptieren", u"Stornieren", u"Dies ist keine gültige Windows-Anwendung.",
          u"Die Microsoft WebView2-Laufzeit ist erforderlich, um diese Anwendung auszuführen. Diese Anwendung kann "
          u"nicht fortgesetzt werden und wird jetzt geschlossen.",
          u"Die Microsoft WebView2-Laufzeit ist erforderlich, um diese Anwendung auszuführen. Möchten Sie es jetzt "
          u"installieren?",
          u"Diese Anwendung kann nicht fortgesetzt werden und wird jetzt geschlossen.",
          u"Sie brechen die Installation der Microsoft WebView2-Laufzeit ab. Diese Anwendung kann nicht fortgesetzt "
          u"werden und wird jetzt geschlossen."}},
        {"fr",
         {u"fr", u"Erreur", u"Confirmer", u"J'accepte", u"Annuler", u"Ce n'est pas une application Windows valide.",
          u"Le runtime Microsoft WebView2 est requis pour exécuter cette application. Cette application ne peut pas "
          u"continuer et sera fermée maintenant.",
          u"Le runtime Microsoft WebView2 est requis pour exécuter cette application. Voulez-vous l'installer "
          u"maintenant?",
          u"Cette application ne peut pas continuer et sera fermée maintenant.",
          u"Vous annulez l'installation du runtime Microsoft WebView2. Cette application ne peut pas continuer et sera "
          u"fermée maintenant."}},
        {"zh",
         {u"zh", u"错误", u"确认", u"接受", u"取消", u"这不是有效的Windows应用程序。",
          u"运行此应用程序需要Microsoft WebView2运行时。 该应用程序无法继续，将立即关闭。",
          u"运行此应用程序需要Microsoft WebView2运行时。 您要立即安装吗？", u"此应用程序无法继续，将立即关闭。",
          u"您取消了Microsoft WebView2运行时的安装，此应用程序无法继续，将立即关闭。"}},
    };
    return rows;
}

TEST(LocalizedMessages, EveryRowReadsExactly) {
    for (const auto& row : Rows()) {
        for (int i = 0; i < 10; ++i) {
            SCOPED_TRACE(std::string(row.Code) + " #" + std::to_string(i));
            EXPECT_EQ(GetLocalizedMessageFor(i, Shared::FromUtf8(row.Code)), row.Texts[i]);
        }
    }
}

// The literals above and in the table are UTF-8 source text; these code units pin down that the
// compiler read them as such (a wrong source charset would corrupt both sides alike).
TEST(LocalizedMessages, NonAsciiTextsAreTheRightCodeUnits) {
    EXPECT_EQ(GetLocalizedMessageFor(MsgConfirmTitle, u"de"), u"Best\u00E4tigen");
    EXPECT_EQ(GetLocalizedMessageFor(MsgErrorTitle, u"zh"), u"\u9519\u8BEF");
    EXPECT_NE(GetLocalizedMessageFor(MsgRuntimeInstallOffer, u"es").find(u"\u00BFQuiere"), Text::npos);
}

TEST(LocalizedMessages, LanguageCodeSelectsRowExactly) {
    struct Case {
        TextView Code;
        int Index;
        TextView Expected;
    };
    const std::vector<Case> cases = {
        {u"de", MsgAccept, u"Akzeptieren"},  {u"pt", MsgAccept, u"Accept"},   {u"en", MsgAccept, u"Accept"},
        {u"", MsgAccept, u"Accept"},         {u"DE", MsgAccept, u"Accept"}, // compared exactly, letter case included
        {u"de-DE", MsgAccept, u"Accept"},                                   // a region is not a language code
        {u"zh", MsgAccept, u"\u63A5\u53D7"}, {u"pt", MsgLanguageCode, u"en"}, {u"fr", MsgLanguageCode, u"fr"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.Code));
        EXPECT_EQ(GetLocalizedMessageFor(c.Index, c.Code), c.Expected);
    }
}

TEST(LocalizedMessages, IndexOutsideTheTableThrows) {
    for (int index : {-1, 10, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(index);
        for (bool forCode : {false, true}) {
            try {
                forCode ? GetLocalizedMessageFor(index, u"de") : GetLocalizedMessage(index);
                ADD_FAILURE() << "no exception";
            } catch (const std::out_of_range& e) {
                EXPECT_STREQ(e.what(), "MessageIndex is out of range!");
            }
        }
    }
}

} // namespace
} // namespace Velmora::Runtime
