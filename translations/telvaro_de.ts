<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>telvaro::AddModemDialog</name>
    <message>
        <source>Add Modem</source>
        <translation>Modem hinzufügen</translation>
    </message>
    <message>
        <source>Modem on port</source>
        <translation>Modem am Anschluss</translation>
    </message>
    <message>
        <source>Choose the serial port the modem is connected to. USB modems are usually
/dev/ttyACM0 or /dev/ttyUSB0. &quot;Detect&quot; in System Modems finds them for you.</source>
        <translation>Wählen Sie die serielle Schnittstelle, an der das Modem angeschlossen ist. USB-Modems sind meist
/dev/ttyACM0 oder /dev/ttyUSB0. „Suchen“ unter „Systemmodems“ findet sie für Sie.</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Anschluss:</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>Maximum &amp;speed:</source>
        <translation>&amp;Höchstgeschwindigkeit:</translation>
    </message>
    <message>
        <source>Please choose the serial port of the modem.</source>
        <translation>Bitte wählen Sie die serielle Schnittstelle des Modems.</translation>
    </message>
    <message>
        <source>%1 is already set up on %2.</source>
        <translation>%1 ist bereits an %2 eingerichtet.</translation>
    </message>
</context>
<context>
    <name>telvaro::Call</name>
    <message>
        <source>Modem error!</source>
        <translation>Modemfehler!</translation>
    </message>
    <message>
        <source>The selected line is in use or it is not connected.</source>
        <translation>Die gewählte Leitung ist belegt oder nicht angeschlossen.</translation>
    </message>
    <message>
        <source>No Dialtone</source>
        <translation>Kein Wählton</translation>
    </message>
    <message>
        <source>Not able to make a call.</source>
        <translation>Anruf nicht möglich.</translation>
    </message>
    <message>
        <source>Tapi: Error opening line!</source>
        <translation>Tapi: Fehler beim Öffnen der Leitung!</translation>
    </message>
    <message>
        <source>Modem may not be installed or it is misconfigured.<byte value="xd"/>
Please reinstall modem.</source>
        <translation>Das Modem ist vielleicht nicht installiert oder falsch eingerichtet.</translation>
    </message>
    <message>
        <source>Not able to make a call.<byte value="xd"/>
Modem may not be turned on or it is misconfigured.</source>
        <translation>Anruf nicht möglich.</translation>
    </message>
    <message>
        <source>No Answer</source>
        <translation>Keine Antwort</translation>
    </message>
    <message>
        <source>The number did not answer.</source>
        <translation>Unter der Nummer meldet sich niemand.</translation>
    </message>
    <message>
        <source>No Carrier</source>
        <translation>Keine Verbindung</translation>
    </message>
    <message>
        <source>The call ended (no carrier).</source>
        <translation>Der Anruf wurde beendet (keine Verbindung).</translation>
    </message>
</context>
<context>
    <name>telvaro::CallingCardsDialog</name>
    <message>
        <source>Calling Cards</source>
        <translation>Telefonkarten</translation>
    </message>
    <message>
        <source>The calling card &quot;%1&quot; holds &quot;?&quot; (wait for you to go on), which a modem cannot dial.

Use &quot;,&quot; (a pause) or &quot;$&quot; (wait for the billing tone) in its place.</source>
        <translation>Die Telefonkarte „%1“ enthält „?“ (auf Sie warten), was ein Modem nicht wählen kann.

Verwenden Sie stattdessen „,“ (eine Pause) oder „$“ (auf den Gebührenton warten).</translation>
    </message>
    <message>
        <source>No calling card yet: click New...</source>
        <translation>Noch keine Telefonkarte: Klicken Sie auf „Neu...“</translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation>&amp;Neu...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Ca&amp;rd:</source>
        <translation>&amp;Karte:</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>Card &amp;name:</source>
        <translation>Karten&amp;bezeichnung:</translation>
    </message>
    <message>
        <source>&amp;Account number:</source>
        <translation>Kon&amp;tonummer:</translation>
    </message>
    <message>
        <source>&amp;PIN:</source>
        <translation>&amp;PIN:</translation>
    </message>
    <message>
        <source>Access numbers (J)</source>
        <translation>Zugangsnummern (J)</translation>
    </message>
    <message>
        <source>For &amp;local calls:</source>
        <translation>Für &amp;Ortsgespräche:</translation>
    </message>
    <message>
        <source>For long &amp;distance calls:</source>
        <translation>Für &amp;Ferngespräche:</translation>
    </message>
    <message>
        <source>For &amp;international calls:</source>
        <translation>Für &amp;Auslandsgespräche:</translation>
    </message>
    <message>
        <source>Dialing rules</source>
        <translation>Wählregeln</translation>
    </message>
    <message>
        <source>Calls within the &amp;same area:</source>
        <translation>Gespräche im &amp;selben Ortsnetz:</translation>
    </message>
    <message>
        <source>Long distance &amp;calls:</source>
        <translation>Fern&amp;gespräche:</translation>
    </message>
    <message>
        <source>In&amp;ternational calls:</source>
        <translation>Aus&amp;landsgespräche:</translation>
    </message>
    <message>
        <source>E country code, F area code, G number, J access number, K account number, H PIN;
W wait for dial tone, $ wait for billing tone, @ wait for quiet, ? wait for me;
a comma pauses, T and P switch to tone or pulse. An empty rule dials that kind
of call directly, without the card.</source>
        <translation>E Landesvorwahl, F Ortsvorwahl, G Rufnummer, J Zugangsnummer, K Kontonummer, H PIN;
W auf Wählton warten, $ auf Gebührenton warten, @ auf Stille warten, ? auf mich warten;
ein Komma pausiert, T und P schalten auf Ton- oder Impulswahl. Eine leere Regel wählt
diese Gespräche direkt, ohne die Karte.</translation>
    </message>
    <message>
        <source>New Calling Card</source>
        <translation>Neue Telefonkarte</translation>
    </message>
    <message>
        <source>Name of the new calling card:</source>
        <translation>Name der neuen Telefonkarte:</translation>
    </message>
    <message>
        <source>Calling Card</source>
        <translation>Telefonkarte</translation>
    </message>
    <message>
        <source>Remove the calling card &quot;%1&quot;?</source>
        <translation>Die Telefonkarte „%1“ entfernen?</translation>
    </message>
</context>
<context>
    <name>telvaro::CommandLine</name>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>Usage: telvaro [NUMBER | tel:NUMBER | callto:NUMBER]
       telvaro --version | --help

Telvaro dials telephone numbers through a voice modem or with touch tones.
NUMBER (one leading &quot;/&quot; is removed) is dialed at start when &quot;Accept dialing
numbers from other applications&quot; is on; when Telvaro already runs, the number
is handed to it and this start ends (status 1 when it does not answer, 2 when
the number is longer than 254 characters). A number starting with &quot;+&quot; is
international.

Folders: TELVARO_CONFIG_DIR (settings), TELVARO_DATA_DIR (call logs,
profiles), TELVARO_RUNTIME_DIR (instance socket).
</source>
        <translation>Aufruf: telvaro [NUMMER | tel:NUMMER | callto:NUMMER]
        telvaro --version | --help

Telvaro wählt Telefonnummern über ein Sprachmodem oder mit Tonwahl-Tönen.
NUMMER (ein führendes „/“ wird entfernt) wird beim Start gewählt, wenn
„Wählaufträge von anderen Programmen annehmen“ eingeschaltet ist; läuft Telvaro
schon, wird die Nummer an es übergeben und dieser Start endet (Status 1, wenn es
nicht antwortet, 2, wenn die Nummer länger als 254 Zeichen ist). Eine Nummer,
die mit „+“ beginnt, ist international.

Ordner: TELVARO_CONFIG_DIR (Einstellungen), TELVARO_DATA_DIR (Anrufprotokolle,
Profile), TELVARO_RUNTIME_DIR (Socket der laufenden Instanz).
</translation>
    </message>
</context>
<context>
    <name>telvaro::DialPad</name>
    <message>
        <source>Scroll recent called numbers</source>
        <translation>Zuletzt gewählte Nummern durchblättern</translation>
    </message>
    <message>
        <source>Dial star</source>
        <translation>Stern wählen</translation>
    </message>
    <message>
        <source>Dial pound</source>
        <translation>Raute wählen</translation>
    </message>
    <message>
        <source>Dial %1</source>
        <extracomment>A key of the dialing pad; %1 is its digit</extracomment>
        <translation>%1 wählen</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>Number to dial</source>
        <translation>Zu wählende Rufnummer</translation>
    </message>
    <message>
        <source>Recent numbers</source>
        <translation>Zuletzt gewählte Nummern</translation>
    </message>
    <message>
        <source>&amp;DIAL</source>
        <translation>&amp;WÄHLEN</translation>
    </message>
    <message>
        <source>&amp;HANG UP</source>
        <translation>AUF&amp;LEGEN</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <extracomment>Takes the connected call (the dialing pad&apos;s button)</extracomment>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>telvaro::DialRequestService</name>
    <message>
        <source>The destination must be 1 to %1 characters without control characters.</source>
        <translation>Das Ziel muss 1 bis %1 Zeichen lang sein und darf keine Steuerzeichen enthalten.</translation>
    </message>
    <message>
        <source>Telvaro does not accept numbers from other applications (Tools &gt; Options).</source>
        <translation>Telvaro nimmt keine Nummern von anderen Programmen an (Extras &gt; Optionen).</translation>
    </message>
    <message>
        <source>Too many requests are waiting; try again later.</source>
        <translation>Zu viele Aufträge warten; versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>The destination was refused.</source>
        <translation>Das Ziel wurde abgelehnt.</translation>
    </message>
</context>
<context>
    <name>telvaro::Dialer</name>
    <message>
        <source>Dialing No:</source>
        <translation>Wähle Nr.:</translation>
    </message>
    <message>
        <source>Dialing:  %1</source>
        <translation>Wähle:  %1</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>  Lift the handset up and press OK</source>
        <translation>  Nehmen Sie den Hörer ab und drücken Sie OK</translation>
    </message>
    <message>
        <source>Busy</source>
        <translation>Besetzt</translation>
    </message>
    <message>
        <source>%1
   Busy.</source>
        <extracomment>%1 is the number dialed</extracomment>
        <translation>%1
   Besetzt.</translation>
    </message>
    <message>
        <source>OK</source>
        <extracomment>The call progress window&apos;s button that closes it</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>   Busy</source>
        <translation>   Besetzt</translation>
    </message>
    <message>
        <source>    -To automatically redial: set Auto Redial
       in Tools/Options-</source>
        <translation>    -Automatische Wahlwiederholung: unter
       Extras/Optionen einschalten-</translation>
    </message>
    <message>
        <source>Redialing:  %1</source>
        <translation>Wahlwiederholung:  %1</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Getrennt</translation>
    </message>
    <message>
        <source>Redialed   %1 times. To increase No.of redials: change settings in Tools/Options</source>
        <translation>%1-mal   erneut gewählt. Mehr Wahlwiederholungen: unter Extras/Optionen einstellen</translation>
    </message>
    <message>
        <source>   Busy. Redial in :   %1 seconds</source>
        <translation>   Besetzt. Wahlwiederholung in:   %1 Sekunden</translation>
    </message>
    <message>
        <source>%1
   Busy. Redialing  x %2</source>
        <translation>%1
   Besetzt. Wahlwiederholung  x %2</translation>
    </message>
    <message>
        <source>&amp;Hang Up</source>
        <translation>&amp;Auflegen</translation>
    </message>
</context>
<context>
    <name>telvaro::DialingPropertiesDialog</name>
    <message>
        <source>Dialing Properties</source>
        <translation>Wählparameter</translation>
    </message>
    <message>
        <source>&amp;New...</source>
        <translation>&amp;Neu...</translation>
    </message>
    <message>
        <source>Re&amp;name...</source>
        <translation>&amp;Umbenennen...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Where I am</source>
        <translation>Mein Standort</translation>
    </message>
    <message>
        <source>I am &amp;dialing from:</source>
        <translation>Ich &amp;wähle von:</translation>
    </message>
    <message>
        <source>I am &amp;in:</source>
        <translation>Ich bin &amp;in:</translation>
    </message>
    <message>
        <source>The &amp;area code is:</source>
        <translation>Orts&amp;vorwahl:</translation>
    </message>
    <message>
        <source>for &amp;local calls:</source>
        <translation>für &amp;Ortsgespräche:</translation>
    </message>
    <message>
        <source>for long &amp;distance calls:</source>
        <translation>für &amp;Ferngespräche:</translation>
    </message>
    <message>
        <source>This location has call &amp;waiting. To disable it, dial:</source>
        <translation>Dieser Standort hat &amp;Anklopfen. Zum Ausschalten wählen:</translation>
    </message>
    <message>
        <source>&amp;Tone dialing</source>
        <translation>&amp;Tonwahl</translation>
    </message>
    <message>
        <source>&amp;Pulse dialing</source>
        <translation>Im&amp;pulswahl</translation>
    </message>
    <message>
        <source>Calling &amp;Cards...</source>
        <translation>Telefon&amp;karten...</translation>
    </message>
    <message>
        <source>How I dial from this location</source>
        <translation>So wähle ich von diesem Standort</translation>
    </message>
    <message>
        <source>To access an outside line, first dial:</source>
        <translation>Für eine Amtsleitung zuerst wählen:</translation>
    </message>
    <message>
        <source>To &amp;block caller ID, dial:</source>
        <translation>Zum Unter&amp;drücken der Rufnummer wählen:</translation>
    </message>
    <message>
        <source>The phone system uses:</source>
        <translation>Die Telefonanlage verwendet:</translation>
    </message>
    <message>
        <source>Dial using calling car&amp;d:</source>
        <translation>Mit Telefonka&amp;rte wählen:</translation>
    </message>
    <message>
        <source>Numbers dialed from this location</source>
        <translation>Von diesem Standort gewählte Nummern</translation>
    </message>
    <message>
        <source>Local call:</source>
        <translation>Ortsgespräch:</translation>
    </message>
    <message>
        <source>Long distance call:</source>
        <translation>Ferngespräch:</translation>
    </message>
    <message>
        <source>International call:</source>
        <translation>Auslandsgespräch:</translation>
    </message>
    <message>
        <source>None (Direct Dial)</source>
        <translation>Keine (Direktwahl)</translation>
    </message>
    <message>
        <source>There is already a location named &quot;%1&quot;. Please choose another name.</source>
        <translation>Es gibt bereits einen Standort namens „%1“. Bitte wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>New Location</source>
        <translation>Neuer Standort</translation>
    </message>
    <message>
        <source>Name of the new location:</source>
        <translation>Name des neuen Standorts:</translation>
    </message>
    <message>
        <source>Rename Location</source>
        <translation>Standort umbenennen</translation>
    </message>
    <message>
        <source>New name of the location:</source>
        <translation>Neuer Name des Standorts:</translation>
    </message>
    <message>
        <source>Remove the location &quot;%1&quot;?</source>
        <translation>Den Standort „%1“ entfernen?</translation>
    </message>
    <message>
        <source>The dialing properties could not be saved.

%1</source>
        <translation>Die Wählparameter konnten nicht gespeichert werden.

%1</translation>
    </message>
    <message>
        <source>Code that disables call waiting</source>
        <translation>Code zum Ausschalten des Anklopfens</translation>
    </message>
</context>
<context>
    <name>telvaro::DirectoryView</name>
    <message>
        <source>Alphabetical order</source>
        <translation>Alphabetische Reihenfolge</translation>
    </message>
    <message>
        <source>Name this Tab</source>
        <translation>Register benennen</translation>
    </message>
    <message>
        <source>Delete Tab:</source>
        <translation>Register löschen:</translation>
    </message>
    <message>
        <source>Move Tab:</source>
        <translation>Register verschieben:</translation>
    </message>
    <message>
        <source>Paste Tab:  %1</source>
        <extracomment>Tab pop-up menu; %1 is the title of the tab being moved, in quotes</extracomment>
        <translation>Register einfügen:  %1</translation>
    </message>
    <message>
        <source>Edit Tab:  %1</source>
        <extracomment>Tab pop-up menu; %1 is the tab&apos;s title in quotes</extracomment>
        <translation>Register bearbeiten:  %1</translation>
    </message>
    <message>
        <source>Move Tab:  %1</source>
        <extracomment>Tab pop-up menu; %1 is the tab&apos;s title in quotes</extracomment>
        <translation>Register verschieben:  %1</translation>
    </message>
    <message>
        <source>Delete Tab:  %1</source>
        <extracomment>Tab pop-up menu; %1 is the tab&apos;s title in quotes</extracomment>
        <translation>Register löschen:  %1</translation>
    </message>
    <message>
        <source>Please enter Tab title</source>
        <translation>Bitte geben Sie den Titel des Registers ein</translation>
    </message>
    <message>
        <source>Edit Tab</source>
        <translation>Register bearbeiten</translation>
    </message>
    <message>
        <source>Move Tab:  %1into this location?</source>
        <extracomment>%1 is the tab&apos;s title in quotes</extracomment>
        <translation>Register  %1 an diese Stelle verschieben?</translation>
    </message>
    <message>
        <source>Moving Tab:  %1</source>
        <extracomment>%1 is the tab&apos;s title in quotes</extracomment>
        <translation>Register verschieben:  %1</translation>
    </message>
    <message>
        <source>WARNING!
Deleting the Tab will erase data from the Speed Dials within it!</source>
        <translation>WARNUNG!
Beim Löschen des Registers werden die Daten seiner Kurzwahlen gelöscht!</translation>
    </message>
    <message>
        <source>Delete Tab  %1.</source>
        <extracomment>%1 is the tab&apos;s title in quotes</extracomment>
        <translation>Register  %1 löschen.</translation>
    </message>
    <message>
        <source>&amp;Undo Sorting</source>
        <translation>Sortieren &amp;rückgängig</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Do you want to alphabetically sort the Subject Tabs?
It will take about 2-5 minutes depending on your hardware.</source>
        <translation>Möchten Sie die Themenregister alphabetisch sortieren?
Das dauert je nach Hardware etwa 2-5 Minuten.</translation>
    </message>
    <message>
        <source>Do you want to alphabetically sort the Speed Dial buttons
belonging to the %1 subtitle?</source>
        <extracomment>%1 is the caption of the subtitle button (it starts with &quot;*&quot;)</extracomment>
        <translation>Möchten Sie die Kurzwahltasten unter der Zwischenüberschrift
%1 alphabetisch sortieren?</translation>
    </message>
    <message>
        <source>You can&apos;t use this Speed Dial until the Tab is named.</source>
        <translation>Sie können diese Kurzwahl erst verwenden, wenn das Register benannt ist.</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Page:</source>
        <translation>Seite:</translation>
    </message>
    <message>
        <source>Show Index Tabs</source>
        <translation>Indexregister anzeigen</translation>
    </message>
    <message>
        <source>Show Subject Tabs</source>
        <translation>Themenregister anzeigen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>E&amp;infügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Edit Button:</source>
        <translation>Kurzwahltaste &amp;bearbeiten:</translation>
    </message>
    <message>
        <source>&amp;Index Tabs</source>
        <translation>&amp;Indexregister</translation>
    </message>
    <message>
        <source>&amp;Subject Tabs</source>
        <translation>&amp;Themenregister</translation>
    </message>
    <message>
        <source>&amp;Arrange Tabs Alphabetically</source>
        <translation>Register alphabetisch &amp;sortieren</translation>
    </message>
    <message>
        <source>MouseMenu</source>
        <extracomment>Title of a speed-dial button&apos;s pop-up menu (not shown on screen)</extracomment>
        <translation>Tastenmenü</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>MouseMenu1</source>
        <extracomment>Title of a directory tab&apos;s pop-up menu (not shown on screen)</extracomment>
        <translation>Registermenü</translation>
    </message>
    <message>
        <source>Edit Tab (title)</source>
        <translation>Register bearbeiten (Titel)</translation>
    </message>
    <message>
        <source>MoveTab</source>
        <extracomment>Pop-up menu item of a directory tab</extracomment>
        <translation>Register verschieben</translation>
    </message>
    <message>
        <source>Paste Tab</source>
        <translation>Register einfügen</translation>
    </message>
    <message>
        <source>Delete Tab</source>
        <translation>Register löschen</translation>
    </message>
    <message>
        <source>The change could not be saved in the settings file.
%1</source>
        <translation>Die Änderung konnte nicht in der Einstellungsdatei gespeichert werden.
%1</translation>
    </message>
    <message>
        <source>The program %1 could not be started.</source>
        <translation>Das Programm %1 konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Edit %1</source>
        <extracomment>Pop-up menu of a speed-dial button; %1 is the entry&apos;s name in quotes</extracomment>
        <translation>%1 bearbeiten</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <extracomment>Pop-up menu of a speed-dial button; %1 is the entry&apos;s name in quotes</extracomment>
        <translation>%1 löschen</translation>
    </message>
    <message>
        <source>Copy %1</source>
        <extracomment>Pop-up menu of a speed-dial button; %1 is the entry&apos;s name in quotes</extracomment>
        <translation>%1 kopieren</translation>
    </message>
    <message>
        <source>Add new entry</source>
        <translation>Neuen Eintrag hinzufügen</translation>
    </message>
    <message>
        <source>Paste %1</source>
        <extracomment>Pop-up menu of a speed-dial button; %1 is the copied entry&apos;s name in quotes</extracomment>
        <translation>%1 einfügen</translation>
    </message>
    <message>
        <source>Existing SpeedDial will be overwritten.Continue?</source>
        <translation>Die vorhandene Kurzwahl wird überschrieben. Fortfahren?</translation>
    </message>
    <message>
        <source>Do you really want to delete   %1  entry?</source>
        <extracomment>%1 is the entry&apos;s name in quotes</extracomment>
        <translation>Möchten Sie den Eintrag   %1  wirklich löschen?</translation>
    </message>
    <message>
        <source>Delete SpeedDial Entry</source>
        <translation>Kurzwahleintrag löschen</translation>
    </message>
    <message>
        <source>Directory tabs</source>
        <translation>Register des Telefonbuchs</translation>
    </message>
    <message>
        <source>Left and Right choose a tab, Up and Down turn the pages, a letter jumps to its tab</source>
        <translation>Links und Rechts wählen ein Register, Auf und Ab blättern die Seiten um, ein Buchstabe springt zu seinem Register</translation>
    </message>
    <message>
        <source>Tab scroller</source>
        <translation>Registerleiste blättern</translation>
    </message>
    <message>
        <source>Page scroller</source>
        <translation>Seiten blättern</translation>
    </message>
    <message>
        <source>Empty button %1</source>
        <translation>Leere Taste %1</translation>
    </message>
</context>
<context>
    <name>telvaro::Files</name>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>Der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 ist ein Ordner</translation>
    </message>
    <message>
        <source>%1 is read-only</source>
        <translation>%1 ist schreibgeschützt</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Cannot replace %1</source>
        <translation>%1 kann nicht ersetzt werden</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>telvaro::FrmAbout</name>
    <message>
        <source>About Telvaro</source>
        <translation>Über Telvaro</translation>
    </message>
    <message>
        <source>Telvaro&apos;s icon</source>
        <translation>Symbol von Telvaro</translation>
    </message>
    <message>
        <source>Version 3.7 (Telvaro %1 for Linux, built with Qt %2)</source>
        <translation>Version 3.7 (Telvaro %1 für Linux, erstellt mit Qt %2)</translation>
    </message>
    <message>
        <source>OS:   Linux desktops (X11 and Wayland)</source>
        <translation>BS:   Linux-Arbeitsumgebungen (X11 und Wayland)</translation>
    </message>
    <message>
        <source>Please send comments to:</source>
        <translation>Bitte senden Sie Anmerkungen an:</translation>
    </message>
    <message>
        <source>Click to start message</source>
        <translation>Klicken, um eine Nachricht zu schreiben</translation>
    </message>
    <message>
        <source>On the web:</source>
        <translation>Im Web:</translation>
    </message>
    <message>
        <source>Click to go to web site</source>
        <translation>Klicken, um die Website zu öffnen</translation>
    </message>
    <message>
        <source>WARNING:</source>
        <translation>WARNUNG:</translation>
    </message>
    <message>
        <source>Telvaro places real telephone calls. Your telephone company charges every call it dials, and every automatic redial, like a call dialed by hand. Check your dialing location and the numbers in your directory before you dial long-distance or international numbers, and always dial emergency numbers yourself.</source>
        <translation>Telvaro führt echte Telefongespräche. Ihre Telefongesellschaft berechnet jeden gewählten Anruf und jede automatische Wahlwiederholung wie einen von Hand gewählten Anruf. Prüfen Sie Ihren Standort und die Nummern in Ihrem Telefonbuch, bevor Sie Fern- oder Auslandsnummern wählen, und wählen Sie Notrufnummern immer selbst.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>&amp;Systeminformationen...</translation>
    </message>
</context>
<context>
    <name>telvaro::FrmCallDisplay</name>
    <message>
        <source>Incoming call</source>
        <translation>Eingehender Anruf</translation>
    </message>
    <message>
        <source>Unknown caller</source>
        <translation>Unbekannter Anrufer</translation>
    </message>
    <message>
        <source>Known caller</source>
        <translation>Bekannter Anrufer</translation>
    </message>
    <message>
        <source>Incoming Call from:</source>
        <translation>Eingehender Anruf von:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Caller Unknown</source>
        <translation>Anrufer unbekannt</translation>
    </message>
</context>
<context>
    <name>telvaro::FrmConnect</name>
    <message>
        <source>Call progress</source>
        <translation>Anrufverlauf</translation>
    </message>
    <message>
        <source>Dialing</source>
        <extracomment>The picture of the call progress window while the number is dialed</extracomment>
        <translation>Wählvorgang</translation>
    </message>
    <message>
        <source>Not connected</source>
        <extracomment>The picture of the call progress window when the line is busy or the call failed</extracomment>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Connected</source>
        <extracomment>The picture of the call progress window once the call is connected</extracomment>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>&amp;Hang Up</source>
        <translation>&amp;Auflegen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>telvaro::FrmDialer</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New Profile</source>
        <translation>&amp;Neues Profil</translation>
    </message>
    <message>
        <source>&amp;Open Profile</source>
        <translation>Profil ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Save Profile</source>
        <translation>Profil &amp;speichern</translation>
    </message>
    <message>
        <source>Save Profile &amp;As</source>
        <translation>Profil speichern &amp;unter</translation>
    </message>
    <message>
        <source>&amp;Print Outgoing Calls Log</source>
        <translation>Protokoll ausgehender Anrufe &amp;drucken</translation>
    </message>
    <message>
        <source>Print &amp;Incoming Calls Log</source>
        <translation>Protokoll &amp;eingehender Anrufe drucken</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Outgoing Calls Log</source>
        <translation>Protokoll &amp;ausgehender Anrufe</translation>
    </message>
    <message>
        <source>I&amp;ncoming Calls Log</source>
        <translation>Protokoll &amp;eingehender Anrufe</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Dialing Properties</source>
        <translation>&amp;Wählparameter</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>&amp;About Telvaro</source>
        <translation>Ü&amp;ber Telvaro</translation>
    </message>
    <message>
        <source>&amp;Systray</source>
        <extracomment>The tray icon&apos;s menu</extracomment>
        <translation>&amp;Systembereich</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Automatic Receive</source>
        <translation>&amp;Automatisch annehmen</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Hide Dialing Pad</source>
        <translation>Wähltastatur ausblenden</translation>
    </message>
    <message>
        <source>Show Dialing Pad</source>
        <translation>Wähltastatur einblenden</translation>
    </message>
    <message>
        <source>Telvaro cannot use its settings file.
%1

Settings and changes to the directory will not be kept.</source>
        <translation>Telvaro kann seine Einstellungsdatei nicht verwenden.
%1

Einstellungen und Änderungen am Telefonbuch werden nicht gespeichert.</translation>
    </message>
    <message>
        <source>Telvaro - %1</source>
        <extracomment>Main window title; %1 is the profile name in quotes</extracomment>
        <translation>Telvaro - %1</translation>
    </message>
    <message>
        <source>&amp;Save %1</source>
        <extracomment>File menu: save the profile; %1 is its name in quotes</extracomment>
        <translation>%1 &amp;speichern</translation>
    </message>
    <message>
        <source>Save  &amp;As</source>
        <extracomment>File menu: save the Untitled profile under a name</extracomment>
        <translation>Speichern &amp;unter</translation>
    </message>
    <message>
        <source>Save %1 &amp;As</source>
        <extracomment>File menu: save the profile under another name; %1 is its name in quotes</extracomment>
        <translation>%1 speichern &amp;unter</translation>
    </message>
    <message>
        <source>Telvaro could not save the recent numbers.
%1</source>
        <translation>Telvaro konnte die zuletzt gewählten Nummern nicht speichern.
%1</translation>
    </message>
    <message>
        <source>Profile has not been saved.
Save before exiting?</source>
        <translation>Das Profil wurde nicht gespeichert.
Vor dem Beenden speichern?</translation>
    </message>
    <message>
        <source>Saving profile Untitled</source>
        <translation>Profil Untitled speichern</translation>
    </message>
    <message>
        <source>Show Dialing &amp;Pad</source>
        <translation>&amp;Wähltastatur einblenden</translation>
    </message>
    <message>
        <source>Hide Dialing &amp;Pad</source>
        <translation>&amp;Wähltastatur ausblenden</translation>
    </message>
    <message>
        <source>&amp;Manual Receive</source>
        <translation>&amp;Manuell annehmen</translation>
    </message>
</context>
<context>
    <name>telvaro::FrmMemo</name>
    <message>
        <source>LOG:</source>
        <translation>PROTOKOLL:</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>MEMO:</source>
        <translation>NOTIZ:</translation>
    </message>
    <message>
        <source>New note</source>
        <translation>Neue Notiz</translation>
    </message>
    <message>
        <source>&amp;Add to Log</source>
        <translation>Zum Protokoll &amp;hinzufügen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <extracomment>Stores the memo pad&apos;s log and closes it</extracomment>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Edit Log</source>
        <translation>Protokoll &amp;bearbeiten</translation>
    </message>
    <message>
        <source>The memo could not be saved in the settings file.
%1</source>
        <translation>Die Notiz konnte nicht in der Einstellungsdatei gespeichert werden.
%1</translation>
    </message>
    <message>
        <source>Scroll the log</source>
        <translation>Protokoll blättern</translation>
    </message>
    <message>
        <source>Scroll the log sideways</source>
        <translation>Protokoll seitwärts blättern</translation>
    </message>
    <message>
        <source>Scroll the note</source>
        <translation>Notiz blättern</translation>
    </message>
    <message>
        <source>Scroll the note sideways</source>
        <translation>Notiz seitwärts blättern</translation>
    </message>
</context>
<context>
    <name>telvaro::FrmOptions</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>&amp;General</source>
        <translation>&amp;Allgemein</translation>
    </message>
    <message>
        <source>&amp;Advanced</source>
        <translation>&amp;Erweitert</translation>
    </message>
    <message>
        <source>&amp;Expert</source>
        <translation>E&amp;xperte</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Play sound when:</source>
        <translation>Klang abspielen, wenn:</translation>
    </message>
    <message>
        <source>Connected after redialing &amp;busy line</source>
        <translation>Nach Wahlwiederholung bei &amp;besetzter Leitung verbunden</translation>
    </message>
    <message>
        <source>Recei&amp;ving incoming call</source>
        <translation>Ein Anruf ein&amp;geht</translation>
    </message>
    <message>
        <source>&amp;Reached the end of redials</source>
        <translation>Wahlwiederholungen e&amp;rschöpft</translation>
    </message>
    <message>
        <source>E&amp;nable Automatic Redial:</source>
        <translation>Automatische Wahlwiederholung ei&amp;nschalten:</translation>
    </message>
    <message>
        <source>Redial:</source>
        <translation>Wiederholen:</translation>
    </message>
    <message>
        <source>times,  every</source>
        <translation>mal,  alle</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>&amp;Load Telvaro when I log in</source>
        <translation>Telvaro beim Anmelden &amp;laden</translation>
    </message>
    <message>
        <source>Show Dialing &amp;Pad at Telvaro startup</source>
        <translation>&amp;Wähltastatur beim Start von Telvaro einblenden</translation>
    </message>
    <message>
        <source>Start Dialer in the &amp;Index Mode</source>
        <translation>Im &amp;Indexmodus starten</translation>
    </message>
    <message>
        <source>Start Dialer in the &amp;Subject Mode </source>
        <translation>Im &amp;Themenmodus starten </translation>
    </message>
    <message>
        <source>Sho&amp;w program&apos;s icon in the system tray</source>
        <translation>Programm&amp;symbol im Systembereich anzeigen</translation>
    </message>
    <message>
        <source>Dialing:</source>
        <translation>Wählen:</translation>
    </message>
    <message>
        <source>&amp;Dial without modem</source>
        <translation>Ohne Modem &amp;wählen</translation>
    </message>
    <message>
        <source>Dial using &amp;modem:</source>
        <translation>Mit &amp;Modem wählen:</translation>
    </message>
    <message>
        <source>Modem &amp;Properties</source>
        <translation>Modemeigenscha&amp;ften</translation>
    </message>
    <message>
        <source>Add, Remove &amp;&amp; Diagnostics</source>
        <translation>Hinzufügen, Entfernen &amp;&amp; Diagnose</translation>
    </message>
    <message>
        <source>&amp;System modems </source>
        <translation>&amp;Systemmodems </translation>
    </message>
    <message>
        <source>Add or remove modems, detect them and test them.</source>
        <translation>Modems hinzufügen oder entfernen, suchen und testen.</translation>
    </message>
    <message>
        <source>Call logs and calling card:</source>
        <translation>Anrufprotokolle und Telefonkarte:</translation>
    </message>
    <message>
        <source>&amp;Keep Outgoing Logged Calls for:</source>
        <translation>Protokollierte a&amp;usgehende Anrufe aufbewahren für:</translation>
    </message>
    <message>
        <source>days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Keep &amp;Incoming Logged Calls for:</source>
        <translation>Protokollierte e&amp;ingehende Anrufe aufbewahren für:</translation>
    </message>
    <message>
        <source>Do not &amp;use Calling Card for local calls</source>
        <translation>Für Ortsgespräche &amp;keine Telefonkarte verwenden</translation>
    </message>
    <message>
        <source>Dialing properties:</source>
        <translation>Wählparameter:</translation>
    </message>
    <message>
        <source>&amp;Ignore Dialing Properties for all SpeedDials </source>
        <translation>Wählparameter für alle Kurzwahlen &amp;ignorieren </translation>
    </message>
    <message>
        <source>Allow &amp;special dialing characters: &quot;W&quot;, &quot;@&quot;, &quot;$&quot;</source>
        <translation>&amp;Sonderzeichen beim Wählen erlauben: „W“, „@“, „$“</translation>
    </message>
    <message>
        <source>Dial characters</source>
        <extracomment>One sentence in three labels: &quot;Dial characters&quot;, &quot; exactly &quot; (bold), &quot; as entered using:&quot;.</extracomment>
        <translation>Zeichen</translation>
    </message>
    <message>
        <source> exactly </source>
        <translation> genau </translation>
    </message>
    <message>
        <source> as entered using:</source>
        <translation> wie eingegeben wählen mit:</translation>
    </message>
    <message>
        <source>&amp;Tone Dial</source>
        <translation>&amp;Tonwahl</translation>
    </message>
    <message>
        <source>&amp;Pulse Dial</source>
        <translation>Im&amp;pulswahl</translation>
    </message>
    <message>
        <source>Dialing &amp;Properties</source>
        <translation>&amp;Wählparameter</translation>
    </message>
    <message>
        <source>Special options:</source>
        <translation>Besondere Optionen:</translation>
    </message>
    <message>
        <source>Co&amp;nceal identity (when calling out)</source>
        <translation>Eigene Rufnummer &amp;unterdrücken (bei abgehenden Anrufen)</translation>
    </message>
    <message>
        <source>Connected Call detection delay timer:</source>
        <translation>Verzögerung der Verbindungserkennung:</translation>
    </message>
    <message>
        <source>Accept dialing numbers &amp;from other applications</source>
        <translation>Wählaufträge &amp;von anderen Programmen annehmen</translation>
    </message>
    <message>
        <source>Allow Call I&amp;D (Call Display ) </source>
        <translation>&amp;Rufnummernanzeige erlauben (Anruferanzeige) </translation>
    </message>
    <message>
        <source>Mode &amp;1 (most modems)</source>
        <translation>Modus &amp;1 (die meisten Modems)</translation>
    </message>
    <message>
        <source>Mode &amp;2 (some Winmodems)</source>
        <translation>Modus &amp;2 (manche Winmodems)</translation>
    </message>
    <message>
        <source>The options could not be saved in %1:
%2

They stay in effect until Telvaro ends.</source>
        <translation>Die Optionen konnten nicht in %1 gespeichert werden:
%2

Sie gelten, bis Telvaro beendet wird.</translation>
    </message>
    <message>
        <source>Option pages</source>
        <translation>Seiten der Optionen</translation>
    </message>
    <message>
        <source>Minutes between redials</source>
        <translation>Minuten zwischen den Wahlwiederholungen</translation>
    </message>
    <message>
        <source>Seconds between redials</source>
        <translation>Sekunden zwischen den Wahlwiederholungen</translation>
    </message>
    <message>
        <source>Modem</source>
        <translation>Modem</translation>
    </message>
    <message>
        <source>Days to keep outgoing logged calls</source>
        <translation>Tage, die protokollierte ausgehende Anrufe aufbewahrt werden</translation>
    </message>
    <message>
        <source>Days to keep incoming logged calls</source>
        <translation>Tage, die protokollierte eingehende Anrufe aufbewahrt werden</translation>
    </message>
    <message>
        <source>Dials the characters exactly as entered</source>
        <extracomment>How a screen reader describes the two choices below &quot;Dial characters exactly as entered using:&quot;.</extracomment>
        <translation>Wählt die Zeichen genau wie eingegeben</translation>
    </message>
</context>
<context>
    <name>telvaro::FrmSpeedDial</name>
    <message>
        <source>Speed Dial</source>
        <translation>Kurzwahl</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>N&amp;umber to dial:</source>
        <translation>Zu wählende N&amp;ummer:</translation>
    </message>
    <message>
        <source>&amp;Ignore Dialing Properties</source>
        <translation>Wählparameter &amp;ignorieren</translation>
    </message>
    <message>
        <source>Start with P for Pulse Dialing</source>
        <translation>Für Impulswahl mit P beginnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <extracomment>Stores the directory entry&apos;s name and number</extracomment>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save and &amp;Dial</source>
        <translation>Speichern und &amp;wählen</translation>
    </message>
    <message>
        <source>&amp;Edit Memo</source>
        <translation>N&amp;otiz bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
</context>
<context>
    <name>telvaro::HelpWindow</name>
    <message>
        <source>Contents</source>
        <extracomment>The list of help topics</extracomment>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Getting started</source>
        <translation>Erste Schritte</translation>
    </message>
    <message>
        <source>The speed-dial directory</source>
        <translation>Das Kurzwahl-Telefonbuch</translation>
    </message>
    <message>
        <source>Dialing with a modem</source>
        <translation>Wählen mit einem Modem</translation>
    </message>
    <message>
        <source>Dialing without a modem</source>
        <translation>Wählen ohne Modem</translation>
    </message>
    <message>
        <source>Automatic redial</source>
        <translation>Automatische Wahlwiederholung</translation>
    </message>
    <message>
        <source>Receiving calls</source>
        <translation>Anrufe annehmen</translation>
    </message>
    <message>
        <source>Call logs</source>
        <translation>Anrufprotokolle</translation>
    </message>
    <message>
        <source>Profiles</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Modems and dialing locations</source>
        <translation>Modems und Standorte</translation>
    </message>
    <message>
        <source>Dial through a SIP phone</source>
        <translation>Über ein SIP-Telefon wählen</translation>
    </message>
    <message>
        <source>When something goes wrong</source>
        <translation>Wenn etwas schiefgeht</translation>
    </message>
    <message>
        <source>Telvaro Help</source>
        <translation>Telvaro-Hilfe</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Hilfeseite</translation>
    </message>
    <message>
        <source>Scroll the help page up and down</source>
        <translation>Hilfeseite auf und ab blättern</translation>
    </message>
    <message>
        <source>Scroll the help page sideways</source>
        <translation>Hilfeseite seitwärts blättern</translation>
    </message>
    <message>
        <source>Scroll the contents up and down</source>
        <translation>Inhalt auf und ab blättern</translation>
    </message>
    <message>
        <source>Scroll the contents sideways</source>
        <translation>Inhalt seitwärts blättern</translation>
    </message>
</context>
<context>
    <name>telvaro::IniFile</name>
    <message>
        <source>the section name &quot;%1&quot; cannot be stored</source>
        <translation>der Abschnittsname „%1“ kann nicht gespeichert werden</translation>
    </message>
    <message>
        <source>the key name &quot;%1&quot; cannot be stored</source>
        <translation>der Schlüsselname „%1“ kann nicht gespeichert werden</translation>
    </message>
    <message>
        <source>the value of &quot;%1&quot; holds a line break</source>
        <translation>der Wert von „%1“ enthält einen Zeilenumbruch</translation>
    </message>
</context>
<context>
    <name>telvaro::LineDialogs</name>
    <message>
        <source>There is no modem set up yet.

Do you want to set one up now?</source>
        <translation>Es ist noch kein Modem eingerichtet.

Möchten Sie jetzt eines einrichten?</translation>
    </message>
    <message>
        <source>There is no line device %1: the modems set up are devices 0 to %2.

Do you want to see the modems set up?</source>
        <translation>Es gibt kein Leitungsgerät %1: Die eingerichteten Modems sind die Geräte 0 bis %2.

Möchten Sie die eingerichteten Modems sehen?</translation>
    </message>
    <message>
        <source>Modem Properties</source>
        <translation>Modemeigenschaften</translation>
    </message>
    <message>
        <source>The modem properties could not be saved.

%1</source>
        <translation>Die Modemeigenschaften konnten nicht gespeichert werden.

%1</translation>
    </message>
    <message>
        <source>Last number dialed:     %1</source>
        <translation>Zuletzt gewählte Nummer:     %1</translation>
    </message>
</context>
<context>
    <name>telvaro::LineService</name>
    <message>
        <source>Not Available</source>
        <translation>Nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>telvaro::ModemProbe</name>
    <message>
        <source>The port %1 is in use by another program, or by Telvaro&apos;s own line while it waits for calls.</source>
        <translation>Der Anschluss %1 wird von einem anderen Programm belegt oder von Telvaros eigener Leitung, während sie auf Anrufe wartet.</translation>
    </message>
    <message>
        <source>There is no serial port %1. Is the modem plugged in?</source>
        <translation>Es gibt keine serielle Schnittstelle %1. Ist das Modem angeschlossen?</translation>
    </message>
    <message>
        <source>The port %1 cannot be opened (%2).</source>
        <translation>Der Anschluss %1 kann nicht geöffnet werden (%2).</translation>
    </message>
    <message>
        <source>(no answer)</source>
        <translation>(keine Antwort)</translation>
    </message>
    <message>
        <source>(unreadable answer)</source>
        <translation>(unlesbare Antwort)</translation>
    </message>
    <message>
        <source>The modem stopped answering: its port went away.</source>
        <translation>Das Modem antwortet nicht mehr: Sein Anschluss ist verschwunden.</translation>
    </message>
</context>
<context>
    <name>telvaro::ModemPropertiesDialog</name>
    <message>
        <source>%1 Properties</source>
        <translation>Eigenschaften von %1</translation>
    </message>
    <message>
        <source>Modem on port</source>
        <translation>Modem am Anschluss</translation>
    </message>
    <message>
        <source>Modem</source>
        <translation>Modem</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Anschluss:</translation>
    </message>
    <message>
        <source>Maximum &amp;speed:</source>
        <translation>&amp;Höchstgeschwindigkeit:</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Leise</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Laut</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>On until connected</source>
        <translation>Ein bis zur Verbindung</translation>
    </message>
    <message>
        <source>Always on</source>
        <translation>Immer ein</translation>
    </message>
    <message>
        <source>On while answering</source>
        <translation>Ein beim Annehmen</translation>
    </message>
    <message>
        <source>Speaker</source>
        <translation>Lautsprecher</translation>
    </message>
    <message>
        <source>&amp;Volume:</source>
        <translation>&amp;Lautstärke:</translation>
    </message>
    <message>
        <source>Spea&amp;ker:</source>
        <translation>Laut&amp;sprecher:</translation>
    </message>
    <message>
        <source>&amp;Wait for dial tone before dialing</source>
        <translation>Vor dem Wählen auf &amp;Wählton warten</translation>
    </message>
    <message>
        <source> seconds</source>
        <translation> Sekunden</translation>
    </message>
    <message>
        <source>Dialing</source>
        <translation>Wählvorgang</translation>
    </message>
    <message>
        <source>&amp;Cancel the call if not connected within:</source>
        <translation>Anruf a&amp;bbrechen, wenn keine Verbindung innerhalb von:</translation>
    </message>
    <message>
        <source>Commands sent when the line is opened, separated by |</source>
        <translation>Befehle beim Öffnen der Leitung, getrennt durch |</translation>
    </message>
    <message>
        <source>Find out (AT+VCID=1, AT#CID=1 ...)</source>
        <translation>Ermitteln (AT+VCID=1, AT#CID=1 ...)</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Befehle</translation>
    </message>
    <message>
        <source>&amp;Initialization:</source>
        <translation>&amp;Initialisierung:</translation>
    </message>
    <message>
        <source>Caller &amp;ID on:</source>
        <translation>&amp;Rufnummernanzeige ein:</translation>
    </message>
    <message>
        <source>Changes take effect the next time the line is opened.</source>
        <translation>Änderungen gelten ab dem nächsten Öffnen der Leitung.</translation>
    </message>
    <message>
        <source>Please choose the serial port of the modem.</source>
        <translation>Bitte wählen Sie die serielle Schnittstelle des Modems.</translation>
    </message>
</context>
<context>
    <name>telvaro::Profiles</name>
    <message>
        <source>Telvaro Profile (*.tlx *.TLX)</source>
        <translation>Telvaro-Profil (*.tlx *.TLX)</translation>
    </message>
    <message>
        <source>Error saving file</source>
        <translation>Fehler beim Speichern der Datei</translation>
    </message>
    <message>
        <source>WARNING!
Existing file will be overwritten.</source>
        <translation>WARNUNG!
Die vorhandene Datei wird überschrieben.</translation>
    </message>
    <message>
        <source>Save Profile As</source>
        <translation>Profil speichern unter</translation>
    </message>
    <message>
        <source>The profile was saved, but the call logs of %1 could not be copied for %2.
%3</source>
        <translation>Das Profil wurde gespeichert, aber die Anrufprotokolle von %1 konnten nicht für %2 kopiert werden.
%3</translation>
    </message>
    <message>
        <source>A call is in progress.
End the call before you switch profiles.</source>
        <translation>Ein Anruf ist im Gange.
Beenden Sie den Anruf, bevor Sie das Profil wechseln.</translation>
    </message>
    <message>
        <source>Saving profile </source>
        <translation>Profil speichern</translation>
    </message>
    <message>
        <source>Save current profile?</source>
        <translation>Aktuelles Profil speichern?</translation>
    </message>
    <message>
        <source>The new profile could not be started.
%1</source>
        <translation>Das neue Profil konnte nicht begonnen werden.
%1</translation>
    </message>
    <message>
        <source>Open Profile from:</source>
        <translation>Profil öffnen aus:</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning!
Profile to be open is the same as current profile.
Changes to the current profile will not be saved.
Proceed?</source>
        <translation>Warnung!
Das zu öffnende Profil ist das aktuelle Profil.
Änderungen am aktuellen Profil werden nicht gespeichert.
Fortfahren?</translation>
    </message>
    <message>
        <source>The profile could not be opened.
%1</source>
        <translation>Das Profil konnte nicht geöffnet werden.
%1</translation>
    </message>
    <message>
        <source>File %1 already exists</source>
        <translation>Die Datei %1 existiert bereits</translation>
    </message>
    <message>
        <source>Save current %1 profile?</source>
        <translation>Aktuelles Profil %1 speichern?</translation>
    </message>
    <message>
        <source>Saving profile %1</source>
        <extracomment>The title of the question; %1 is the profile&apos;s name in quotes.</extracomment>
        <translation>Profil %1 speichern</translation>
    </message>
    <message>
        <source>%1  
is not the valid Telvaro profile</source>
        <translation>%1  
ist kein gültiges Telvaro-Profil</translation>
    </message>
    <message>
        <source>%1  
cannot be read: %2</source>
        <translation>%1  
kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Profile %1 already loaded</source>
        <translation>Das Profil %1 ist bereits geladen</translation>
    </message>
</context>
<context>
    <name>telvaro::QueryModemDialog</name>
    <message>
        <source>Query Modem - %1</source>
        <translation>Modem abfragen - %1</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <source>Response</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>%1 on %2</source>
        <translation>%1 an %2</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Fertig.</translation>
    </message>
    <message>
        <source>Asking the modem...</source>
        <translation>Das Modem wird abgefragt...</translation>
    </message>
    <message>
        <source>The modem&apos;s answers</source>
        <translation>Die Antworten des Modems</translation>
    </message>
</context>
<context>
    <name>telvaro::ShellServices</name>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>Systeminformationen sind zurzeit nicht verfügbar</translation>
    </message>
</context>
<context>
    <name>telvaro::SipPasswords</name>
    <message>
        <source>The keyring holds no password for %1.</source>
        <translation>Der Schlüsselbund enthält kein Passwort für %1.</translation>
    </message>
    <message>
        <source>No keyring service is available to keep the password of %1, so Telvaro asks for it once each time it runs.</source>
        <translation>Kein Schlüsselbunddienst kann das Passwort von %1 aufbewahren, daher fragt Telvaro bei jedem Start einmal danach.</translation>
    </message>
</context>
<context>
    <name>telvaro::SipPhoneDialog</name>
    <message>
        <source>SIP Phone Properties</source>
        <translation>Eigenschaften des SIP-Telefons</translation>
    </message>
    <message>
        <source>Add SIP Phone</source>
        <translation>SIP-Telefon hinzufügen</translation>
    </message>
    <message>
        <source>SIP phone</source>
        <translation>SIP-Telefon</translation>
    </message>
    <message>
        <source>pbx.example.com (empty: none)</source>
        <translation>pbx.example.com (leer: keiner)</translation>
    </message>
    <message>
        <source>(the user name)</source>
        <translation>(der Benutzername)</translation>
    </message>
    <message>
        <source>(kept in the keyring)</source>
        <translation>(im Schlüsselbund aufbewahrt)</translation>
    </message>
    <message>
        <source>sip:201@10.0.0.7 or 201</source>
        <translation>sip:201@10.0.0.7 oder 201</translation>
    </message>
    <message>
        <source>&amp;Register to show the callers of incoming calls</source>
        <translation>&amp;Registrieren, um die Anrufer eingehender Anrufe anzuzeigen</translation>
    </message>
    <message>
        <source> seconds</source>
        <translation> Sekunden</translation>
    </message>
    <message>
        <source>Telvaro calls your phone, which answers by itself or rings for you to pick up, and asks it to call the number. The password is kept in the desktop&apos;s keyring, never in a file.</source>
        <translation>Telvaro ruft Ihr Telefon an, das von selbst annimmt oder klingelt, damit Sie abheben, und bittet es, die Nummer anzurufen. Das Passwort wird im Schlüsselbund der Arbeitsumgebung aufbewahrt, nie in einer Datei.</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>Registrar / &amp;proxy:</source>
        <translation>Registrar / &amp;Proxy:</translation>
    </message>
    <message>
        <source>&amp;Domain:</source>
        <translation>&amp;Domäne:</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>&amp;Benutzer:</translation>
    </message>
    <message>
        <source>&amp;Authentication user:</source>
        <translation>&amp;Anmeldebenutzer:</translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation>Pass&amp;wort:</translation>
    </message>
    <message>
        <source>Your p&amp;hone&apos;s address:</source>
        <translation>Adresse Ihres &amp;Telefons:</translation>
    </message>
    <message>
        <source>&amp;Transport:</source>
        <translation>Tran&amp;sport:</translation>
    </message>
    <message>
        <source>Wait for an &amp;answer:</source>
        <translation>Auf Antw&amp;ort warten:</translation>
    </message>
    <message>
        <source>Please give your phone&apos;s address, so that Telvaro can call it.</source>
        <translation>Bitte geben Sie die Adresse Ihres Telefons an, damit Telvaro es anrufen kann.</translation>
    </message>
    <message>
        <source>Please give the account&apos;s user name.</source>
        <translation>Bitte geben Sie den Benutzernamen des Kontos an.</translation>
    </message>
    <message>
        <source>Please give the account&apos;s domain or its registrar.</source>
        <translation>Bitte geben Sie die Domäne oder den Registrar des Kontos an.</translation>
    </message>
    <message>
        <source>To show the callers of incoming calls Telvaro registers with the registrar: please give it.</source>
        <translation>Um die Anrufer eingehender Anrufe anzuzeigen, registriert sich Telvaro beim Registrar: Bitte geben Sie ihn an.</translation>
    </message>
    <message>
        <source>The SIP phone could not be saved.

%1</source>
        <translation>Das SIP-Telefon konnte nicht gespeichert werden.

%1</translation>
    </message>
    <message>
        <source>The password of %1 could not be kept in the keyring (%2).

Telvaro uses it until it ends and asks for it once the next time it runs.</source>
        <translation>Das Passwort von %1 konnte nicht im Schlüsselbund aufbewahrt werden (%2).

Telvaro verwendet es bis zum Beenden und fragt beim nächsten Start einmal danach.</translation>
    </message>
    <message>
        <source>SIP Phone Password</source>
        <translation>Passwort des SIP-Telefons</translation>
    </message>
    <message>
        <source>%1

Password of %2 (user %3):</source>
        <translation>%1

Passwort von %2 (Benutzer %3):</translation>
    </message>
</context>
<context>
    <name>telvaro::SipPhonesDialog</name>
    <message>
        <source>SIP Phones</source>
        <translation>SIP-Telefone</translation>
    </message>
    <message>
        <source>SIP phone</source>
        <translation>SIP-Telefon</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Konto</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>En&amp;tfernen</translation>
    </message>
    <message>
        <source>&amp;Properties...</source>
        <translation>&amp;Eigenschaften...</translation>
    </message>
    <message>
        <source>Telvaro can dial through your own SIP phone (a desk phone or a softphone). The phones follow the modems in the list of line devices.</source>
        <translation>Telvaro kann über Ihr eigenes SIP-Telefon wählen (ein Tischtelefon oder ein Softphone). Die Telefone folgen in der Liste der Leitungsgeräte auf die Modems.</translation>
    </message>
    <message>
        <source>The SIP phones could not be saved.

%1</source>
        <translation>Die SIP-Telefone konnten nicht gespeichert werden.

%1</translation>
    </message>
    <message>
        <source>SIP phones set up</source>
        <translation>Eingerichtete SIP-Telefone</translation>
    </message>
</context>
<context>
    <name>telvaro::SipProvider</name>
    <message>
        <source>the phone %1 did not take the call (%2).</source>
        <translation>das Telefon %1 hat den Anruf nicht angenommen (%2).</translation>
    </message>
    <message>
        <source>no answer within %1 seconds</source>
        <translation>keine Antwort innerhalb von %1 Sekunden</translation>
    </message>
    <message>
        <source>the password was refused (%1)</source>
        <translation>das Passwort wurde abgelehnt (%1)</translation>
    </message>
    <message>
        <source>the phone refused to call the number (%1).</source>
        <translation>das Telefon hat abgelehnt, die Nummer anzurufen (%1).</translation>
    </message>
    <message>
        <source>no password was given for it.</source>
        <translation>dafür wurde kein Passwort angegeben.</translation>
    </message>
    <message>
        <source>the password or user name was refused (%1)</source>
        <translation>Passwort oder Benutzername wurde abgelehnt (%1)</translation>
    </message>
    <message>
        <source>the registrar %1 cannot be reached (%2)</source>
        <translation>der Registrar %1 ist nicht erreichbar (%2)</translation>
    </message>
    <message>
        <source>registration failed: %1.</source>
        <translation>Registrierung fehlgeschlagen: %1.</translation>
    </message>
    <message>
        <source>the phone hung up</source>
        <translation>das Telefon hat aufgelegt</translation>
    </message>
</context>
<context>
    <name>telvaro::SystemModemsDialog</name>
    <message>
        <source>System Modems</source>
        <translation>Systemmodems</translation>
    </message>
    <message>
        <source>Modem</source>
        <translation>Modem</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Anschluss</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>En&amp;tfernen</translation>
    </message>
    <message>
        <source>&amp;Properties...</source>
        <translation>&amp;Eigenschaften...</translation>
    </message>
    <message>
        <source>&amp;Detect</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>&amp;Query Modem...</source>
        <translation>Modem &amp;abfragen...</translation>
    </message>
    <message>
        <source>&amp;SIP Phones...</source>
        <translation>S&amp;IP-Telefone...</translation>
    </message>
    <message>
        <source>The following modems are set up for Telvaro. The first is line device 0, the next 1, and so on.</source>
        <translation>Die folgenden Modems sind für Telvaro eingerichtet. Das erste ist Leitungsgerät 0, das nächste 1 und so weiter.</translation>
    </message>
    <message>
        <source>Looking for a modem on %1...</source>
        <translation>Suche nach einem Modem an %1...</translation>
    </message>
    <message>
        <source>No new modem answered.</source>
        <translation>Kein neues Modem hat geantwortet.</translation>
    </message>
    <message>
        <source>Found 1 new modem.</source>
        <translation>1 neues Modem gefunden.</translation>
    </message>
    <message>
        <source>Found %1 new modems.</source>
        <translation>%1 neue Modems gefunden.</translation>
    </message>
    <message>
        <source>No modem is set up. Add one by its port, or let Detect find it.</source>
        <translation>Kein Modem eingerichtet. Fügen Sie eines über seinen Anschluss hinzu oder lassen Sie es mit „Suchen“ finden.</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>Sto&amp;pp</translation>
    </message>
    <message>
        <source>The modems could not be saved.

%1</source>
        <translation>Die Modems konnten nicht gespeichert werden.

%1</translation>
    </message>
    <message>
        <source>Remove %1 (%2)?

The modems after it move up one place in the list of line devices.</source>
        <translation>%1 (%2) entfernen?

Die folgenden Modems rücken in der Liste der Leitungsgeräte um einen Platz auf.</translation>
    </message>
    <message>
        <source>%1 is already set up on %2.</source>
        <translation>%1 ist bereits an %2 eingerichtet.</translation>
    </message>
    <message>
        <source>Detection stopped.</source>
        <translation>Suche angehalten.</translation>
    </message>
    <message>
        <source>There is no serial port on this computer. Is the modem plugged in?</source>
        <translation>Dieser Rechner hat keine serielle Schnittstelle. Ist das Modem angeschlossen?</translation>
    </message>
    <message>
        <source>Every serial port already has its modem.</source>
        <translation>An jeder seriellen Schnittstelle ist bereits ein Modem eingerichtet.</translation>
    </message>
    <message>
        <source>Modems set up</source>
        <translation>Eingerichtete Modems</translation>
    </message>
    <message>
        <source>Detection progress</source>
        <translation>Fortschritt der Suche</translation>
    </message>
</context>
<context>
    <name>telvaro::TrayIcon</name>
    <message>
        <source>Telvaro-ready to receive calls</source>
        <translation>Telvaro - bereit, Anrufe anzunehmen</translation>
    </message>
    <message>
        <source>Telvaro-ready to receive</source>
        <translation>Telvaro - empfangsbereit</translation>
    </message>
    <message>
        <source>Telvaro-disabled call receiving</source>
        <translation>Telvaro - Anrufannahme ausgeschaltet</translation>
    </message>
    <message>
        <source>&amp;Systray</source>
        <translation>&amp;Systembereich</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
</context>
<context>
    <name>telvaro::calllog::CallLogModel</name>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>PHONE NO.</source>
        <translation>RUFNUMMER</translation>
    </message>
    <message>
        <source>DATE/TIME</source>
        <extracomment>Column heads of the outgoing and the incoming calls log</extracomment>
        <translation>DATUM/ZEIT</translation>
    </message>
    <message>
        <source>RECEIVED</source>
        <translation>EMPFANGEN</translation>
    </message>
</context>
<context>
    <name>telvaro::calllog::CallLogWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <extracomment>Saves the log shown in the window to its file.</extracomment>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>The log
%1
could not be read. The window shows no calls, and the file is left as it is.</source>
        <translation>Das Protokoll
%1
konnte nicht gelesen werden. Das Fenster zeigt keine Anrufe, und die Datei bleibt unverändert.</translation>
    </message>
    <message>
        <source>The calls in the file could not be read when the window loaded them, so the file is not replaced.</source>
        <translation>Die Anrufe in der Datei konnten beim Laden des Fensters nicht gelesen werden, daher wird die Datei nicht ersetzt.</translation>
    </message>
    <message>
        <source>The file cannot be read, so it is not replaced.</source>
        <translation>Die Datei kann nicht gelesen werden, daher wird sie nicht ersetzt.</translation>
    </message>
    <message>
        <source>The log could not be saved to
%1

%2

The file is unchanged; the window keeps your changes.</source>
        <translation>Das Protokoll konnte nicht gespeichert werden in
%1

%2

Die Datei ist unverändert; das Fenster behält Ihre Änderungen.</translation>
    </message>
    <message>
        <source>Saving log to file</source>
        <translation>Protokoll in Datei speichern</translation>
    </message>
    <message>
        <source>Save the changes?</source>
        <translation>Änderungen speichern?</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>&amp;About Telvaro</source>
        <translation>Ü&amp;ber Telvaro</translation>
    </message>
    <message>
        <source>Incoming calls</source>
        <translation>Eingehende Anrufe</translation>
    </message>
    <message>
        <source>Outgoing calls</source>
        <translation>Ausgehende Anrufe</translation>
    </message>
</context>
<context>
    <name>telvaro::calllog::CallLogWriter</name>
    <message>
        <source>The file is read-only.</source>
        <translation>Die Datei ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>%1 is not a file.</source>
        <translation>%1 ist keine Datei.</translation>
    </message>
    <message>
        <source>This call could not be written to the outgoing calls log
%1

%2

The calls already in the log are kept.</source>
        <translation>Dieser Anruf konnte nicht in das Protokoll ausgehender Anrufe geschrieben werden
%1

%2

Die Anrufe, die bereits im Protokoll stehen, bleiben erhalten.</translation>
    </message>
    <message>
        <source>This call could not be written to the incoming calls log
%1

%2

The calls already in the log are kept.</source>
        <translation>Dieser Anruf konnte nicht in das Protokoll eingehender Anrufe geschrieben werden
%1

%2

Die Anrufe, die bereits im Protokoll stehen, bleiben erhalten.</translation>
    </message>
</context>
<context>
    <name>telvaro::calllog::FrmInLog</name>
    <message>
        <source>Incoming Calls Log</source>
        <translation>Protokoll eingehender Anrufe</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>Return a Call</source>
        <translation>Zurückrufen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>Closes the pop-up menu.</extracomment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>telvaro::calllog::FrmOutLog</name>
    <message>
        <source>Outgoing Calls Log</source>
        <translation>Protokoll ausgehender Anrufe</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;MemoLog</source>
        <translation>&amp;Notizen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Undo Cut</source>
        <translation>Ausschneiden rückgängig</translation>
    </message>
</context>
<context>
    <name>telvaro::calllog::LogRetention</name>
    <message>
        <source>The old calls could not be removed from the log
%1

%2

The log is unchanged.</source>
        <translation>Die alten Anrufe konnten nicht aus dem Protokoll entfernt werden
%1

%2

Das Protokoll ist unverändert.</translation>
    </message>
</context>
<context>
    <name>telvaro::calllog::PrintJob</name>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>The printer could not be started.</source>
        <translation>Der Drucker konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation>Die Datei %1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>The printer did not take page %1.</source>
        <translation>Der Drucker hat Seite %1 nicht angenommen.</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>The printer reported an error.</source>
        <translation>Der Drucker hat einen Fehler gemeldet.</translation>
    </message>
    <message>
        <source>Printing page 1 of %1</source>
        <translation>Seite 1 von %1 wird gedruckt</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Printing page %1 of %2</source>
        <translation>Seite %1 von %2 wird gedruckt</translation>
    </message>
    <message>
        <source>The %1 could not be printed.
%2</source>
        <translation>Das %1 konnte nicht gedruckt werden.
%2</translation>
    </message>
</context>
<context>
    <name>telvaro::directory::Memo</name>
    <message>
        <source>Text exceeds capacity</source>
        <translation>Text zu lang</translation>
    </message>
    <message>
        <source>Memo cannot save this entry.
There are too many %1 characters</source>
        <translation>Der Notizblock kann diesen Eintrag nicht speichern.
Es sind %1 Zeichen zu viel</translation>
    </message>
    <message>
        <source>Memo Pad full</source>
        <translation>Notizblock voll</translation>
    </message>
    <message>
        <source>Memo Pad is almost fully utilized.
You can safely store additional %1 characters</source>
        <translation>Der Notizblock ist fast voll.
Sie können noch %1 weitere Zeichen sicher speichern</translation>
    </message>
</context>
</TS>
