#include "shell/Form4_hilfe.h"

#include <QPushButton>
#include <QStringList>
#include <QTextEdit>

#include "shell/HandCursor.h"
#include "shell/Maker.h"
#include "shell/SecondaryWindow.h"

namespace vaultrix {
namespace {

// The manual, line by line; the headings are plain lines too.
QString helpText() {
    const QStringList lines{
        QStringLiteral("Mit 'Vaultrix 1.0' können Sie von Ihren wichtigen Dateien oder Ordnern "
                       "zeitgesteuert und automatisch Sicherungskopien auf alle vorhandenen und "
                       "beschreibbaren Datenträger erstellen. Die folgende Kurzanleitung soll "
                       "Ihnen die schnelle Bedienung erleichtern."),
        QString(),
        QStringLiteral("Sicherung anlegen"),
        QString(),
        QStringLiteral("Name der Sicherung:"),
        QStringLiteral("Geben Sie der Sicherung einen Namen, aus welchem Sie erkennen können, um "
                       "welche Sicherung es handelt."),
        QStringLiteral("Quelle >>"),
        QStringLiteral("Die im Pfad wählen: ausgesuchten Dateien oder Ordner zur Sicherung "
                       "hinzufügen."),
        QStringLiteral("löschen"),
        QStringLiteral("Die im von: gewählten Dateien oder Ordner entfernen."),
        QStringLiteral("alles löschen"),
        QStringLiteral("Alle ausgewählten Dateien und Ordner entfernen."),
        QStringLiteral("Ziel >>"),
        QStringLiteral("Wählen Sie hier einen Ordner, wohin Sie die im von: ausgewählten Daten "
                       "kopieren wollen. Sie können nur Ordner als Ziel auswählen. Mit Rechtsklick "
                       "können Sie im gewählten Zielordner ein neues Unterverzeichnis anlegen. "
                       "Wollen Sie Sicherungen auf einem Netzwerkrechner anlegen, müssen Sie das "
                       "entsprechende Netzlaufwerk vor dem Start von 'Vaultrix 1.0' verbinden. Es "
                       "empfiehlt sich das automatische Verbinden von Windows zu nutzen, um diesen "
                       "Vorgang nicht immer manuell wiederholen zu müssen."),
        QStringLiteral("Aktualisieren"),
        QStringLiteral("Sollten Sie nach dem Start von 'Vaultrix 1.0' Datenträger, Netzwerke oder "
                       "Laufwerke hinzugefügt haben, können Sie die Auswahl aktualisieren."),
        QStringLiteral("Sicherung speichern"),
        QStringLiteral("Erst wenn alle notwendigen Felder mit sinnvollen Werten ausgefüllt sind, "
                       "können Sie die anzulegende Sicherung speichern."),
        QStringLiteral("Sicherung verwerfen"),
        QStringLiteral("Wenn Sie die Sicherung nicht anlegen wollen, dann verwerfen Sie Ihre "
                       "Auswahl und kehren zum Hauptmenü zurück."),
        QString(),
        QStringLiteral("Sicherung bearbeiten"),
        QStringLiteral("Hier können Sie bestehende Sicherungen überarbeiten. Die ausgewählte "
                       "Sicherung wird geladen und Sie können diese wie unter 'Sicherung anlegen' "
                       "bearbeiten."),
        QString(),
        QStringLiteral("Sicherung löschen"),
        QStringLiteral("Die gewählte Sicherung wird nach einer Sicherheitsabfrage gelöscht."),
        QString(),
        QStringLiteral("Sicherung starten"),
        QStringLiteral("Wenn Sie eine Sicherung ausserhalb der eingestellten Zeit durchführen "
                       "wollen, dann können Sie eine Sicherung wählen und manuell jederzeit "
                       "starten."),
        QString(),
        QStringLiteral("Logdatei anzeigen"),
        QStringLiteral("Alle wichtigen durchgeführten Aktionen werden gespeichert und Sie können "
                       "sich diese in der Logdatei anzeigen lassen."),
        QStringLiteral("Logdatei löschen"),
        QStringLiteral("Löscht alle Einträge der Logdatei."),
        QStringLiteral("Logdatei schließen"),
        QStringLiteral("Schließen und zum Hauptmenü zurück."),
        QString(),
        QStringLiteral("Programm beenden"),
        QStringLiteral("Beendet das Programm 'Vaultrix 1.0'. Somit können keine zeitgesteuerten "
                       "Sicherungen mehr ausgeführt werden!"),
        QString(),
        QStringLiteral("Einstellung"),
        QStringLiteral("Sie haben die Möglichkeit bei jeder Sicherung die alte Sicherung zu "
                       "überschreiben (empfohlen) oder von jeder Sicherung eine neue Kopie "
                       "anzulegen."),
        QStringLiteral("Nachdem Sie Ihre Sicherungen angelegt haben, können Sie die Einstellung "
                       "'Minimiert starten' aktivieren. Beim Neustart wird 'Vaultrix 1.0' "
                       "minimiert im System Tray geladen."),
        QStringLiteral("Aus.- oder Einschalten von Animation und Sound."),
        QString(),
        QStringLiteral("Bei Fragen oder Anregungen senden Sie uns bitte eine E-Mail an:"),
        QString::fromUtf8(kMakerEmail),
        QString::fromUtf8(kMakerWebAddress),
    };
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

Form4_hilfe::Form4_hilfe(QWidget* owner) : QDialog(owner) {
    setUpSecondaryWindow(this, "Form4_hilfe", QStringLiteral("Hilfe"));
    const DialogUnits units(dialogTemplateFont());
    setFixedSize(units.rect(0, 0, 399, 282).size());

    auto* text = new QTextEdit(this);
    text->setObjectName(QStringLiteral("rtb_1"));
    text->setGeometry(units.rect(5, 5, 388, 250));
    text->setReadOnly(true);
    // The manual shows; it offers no commands of its own.
    text->setContextMenuPolicy(Qt::NoContextMenu);
    text->setPlainText(helpText());

    auto* close = new QPushButton(QStringLiteral("Schließen"), this);
    close->setObjectName(QStringLiteral("cb_schliessen"));
    close->setGeometry(units.rect(341, 260, 50, 19));
    close->setAutoDefault(false);
    close->setCursor(handCursor());
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    placeOwnedWindow(this, owner, units.point(12, 132));
}

}  // namespace vaultrix
