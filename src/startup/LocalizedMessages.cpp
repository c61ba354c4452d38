#include "startup/LocalizedMessages.h"

#include "platform/UserLanguage.h"

#include <array>
#include <stdexcept>

namespace Velmora::Runtime {

namespace {

constexpr int MessageCount = 10;
using TMessageRow = std::array<Shared::TextView, MessageCount>;

// Row 0 is the default (English) table and the fallback for every language without a row; the
// translation rows follow in the order they are searched. Text 0 of a row is its language code.
constexpr std::array<TMessageRow, 6> MessageTable = {{
    {{
        // en
        u"en",
        u"Error",
        u"Confirm",
        u"Accept",
        u"Cancel",
        u"This is not a valid Windows application.",
        u"The Microsoft WebView2 runtime is required to run this application. This application cannot continue and "
        u"will be closed now.",
        u"The Microsoft WebView2 runtime is required to run this application. Do you want to install it now?",
        u"This application cannot continue and will be closed now.",
        u"You cancel the installation of Microsoft WebView2 runtime, This application cannot continue and will be "
        u"closed now.",
    }},
    {{
        // es
        u"es",
        u"Error",
        u"Confirmar",
        u"Aceptar",
        u"Cancelar",
        u"Esta no es una aplicación de Windows válida.",
        u"El Microsoft WebView2 runtime es necesario para esta aplicación. Esta aplicación no puede continuar y se "
        u"cerrará ahora.",
        u"El Microsoft WebView2 runtime es necesario para esta aplicación. ¿Quiere instalarlo ahora?",
        u"Esta aplicación no puede continuar y se cerrará ahora.",
        u"Ha cancelado la instalación de Microsoft WebView2 runtime. Esta aplicación no puede continuar y se cerrará "
        u"ahora.",
    }},
    {{
        // it
        u"it",
        u"Errore",
        u"Confermare",
        u"Accettare",
        u"Annulla",
        u"Questa non è un'applicazione Windows valida.",
        u"Il runtime di Microsoft WebView2 è necessario per eseguire questa applicazione. Questa applicazione non può "
        u"continuare e verrà chiusa ora.",
        u"Il runtime di Microsoft WebView2 è necessario per eseguire questa applicazione. Vuoi installarlo ora?",
        u"Questa applicazione non può continuare e verrà chiusa ora.",
        u"Annulla l'installazione del runtime di Microsoft WebView2, questa applicazione non può continuare e verrà "
        u"chiusa ora.",
    }},
    {{
        // de
        u"de",
        u"Error",
        u"Bestätigen",
        u"Akzeptieren",
        u"Stornieren",
        u"Dies ist keine gültige Windows-Anwendung.",
        u"Die Microsoft WebView2-Laufzeit ist erforderlich, um diese Anwendung auszuführen. Diese Anwendung kann nicht "
        u"fortgesetzt werden und wird jetzt geschlossen.",
        u"Die Microsoft WebView2-Laufzeit ist erforderlich, um diese Anwendung auszuführen. Möchten Sie es jetzt "
        u"installieren?",
        u"Diese Anwendung kann nicht fortgesetzt werden und wird jetzt geschlossen.",
        u"Sie brechen die Installation der Microsoft WebView2-Laufzeit ab. Diese Anwendung kann nicht fortgesetzt "
        u"werden und wird jetzt geschlossen.",
    }},
    {{
        // fr
        u"fr",
        u"Erreur",
        u"Confirmer",
        u"J'accepte",
        u"Annuler",
        u"Ce n'est pas une application Windows valide.",
        u"Le runtime Microsoft WebView2 est requis pour exécuter cette application. Cette application ne peut pas "
        u"continuer et sera fermée maintenant.",
        u"Le runtime Microsoft WebView2 est requis pour exécuter cette application. Voulez-vous l'installer "
        u"maintenant?",
        u"Cette application ne peut pas continuer et sera fermée maintenant.",
        u"Vous annulez l'installation du runtime Microsoft WebView2. Cette application ne peut pas continuer et sera "
        u"fermée maintenant.",
    }},
    {{
        // zh
        u"zh",
        u"错误",
        u"确认",
        u"接受",
        u"取消",
        u"这不是有效的Windows应用程序。",
        u"运行此应用程序需要Microsoft WebView2运行时。 该应用程序无法继续，将立即关闭。",
        u"运行此应用程序需要Microsoft WebView2运行时。 您要立即安装吗？",
        u"此应用程序无法继续，将立即关闭。",
        u"您取消了Microsoft WebView2运行时的安装，此应用程序无法继续，将立即关闭。",
    }},
}};

} // namespace

Text GetLocalizedMessageFor(int Index, Shared::TextView LanguageCode) {
    if (Index < 0 || Index >= MessageCount) throw std::out_of_range("MessageIndex is out of range!");
    const auto i = static_cast<size_t>(Index);
    for (size_t row = 1; row < MessageTable.size(); ++row)
        if (MessageTable[row][0] == LanguageCode) return Text(MessageTable[row][i]);
    return Text(MessageTable[0][i]);
}

Text GetUserLanguageCode() { return Platform::UserLanguageCode(); }

Text GetLocalizedMessage(int Index) { return GetLocalizedMessageFor(Index, GetUserLanguageCode()); }

} // namespace Velmora::Runtime
