#pragma once

// The indices of the interface texts in the language store
// (resources/Dizionario/Languages.lng), one name for each text the program
// shows, grouped by the window or operation that shows it. A text that serves
// more than one place keeps the name of the place it belongs to first. The
// trailing comment gives the Italian text where the name alone leaves it open.
//
// Every index is the key of the text in each language of the store, so an index
// never changes meaning: a new text takes a new index.

namespace TextIndex {

// Entries of the store that are not shown as they stand.
constexpr int LanguageName = 0; // "&Italiano": the language's own name, on its button and menu entry
constexpr int CodePage = 2;     // "1252": the code page of the language's 8-bit texts
constexpr int LocaleName = 220; // "it": the locale whose toolkit texts go with the language

// Program-wide: the caption of the main window and of messages that belong to
// no window in particular. The store format reads index 1 as a character set
// number too; being text, it leaves the character set as it is.
constexpr int ProgramTitle = 1; // "TZR582 - Configuratore"

// Main window: the main menu, the menu bar.
constexpr int MainMenuHeading = 3;          // "MENU' PRINCIPALE"
constexpr int VehicleConfiguration = 4;     // also the configuration window's caption
constexpr int LoadNewConfiguration = 5;     // "Carica nuova configurazione"
constexpr int SaveCurrentConfiguration = 6; // "Salva configurazione attuale"
constexpr int MainMenuExit = 7;             // "Esci"
constexpr int HelpMenu = 8;                 // "&Aiuto"
constexpr int AboutAction = 9;
constexpr int FileMenu = 12;
constexpr int CommunicationMenu = 13;
constexpr int ExitAction = 14; // "Esci", in the File menu
constexpr int ConnectAction = 15;
constexpr int DisconnectAction = 16;
constexpr int RecentFilesMenu = 302; // "File &recenti"

// Status bar and port menu.
constexpr int UnitConnected = 10;         // "Centralina connessa"
constexpr int UnitNotConnected = 11;      // "Centralina non connessa"
constexpr int PortCaption = 371;          // "Porta": the menu and the port path dialog
constexpr int SimulatedUnit = 372;        // "Centralina simulata"
constexpr int OtherPort = 373;            // "Altra porta..."
constexpr int SerialPortPathPrompt = 374; // "Percorso della porta seriale:"

// Connecting to the unit, and why it failed.
constexpr int ConnectionCaption = 19;     // "Connessione"
constexpr int ConnectingPleaseWait = 20;  // "Connessione in corso. Attendere ..."
constexpr int UnitDoesNotAnswer = 17;     // "La centralina non risponde."
constexpr int CheckCableAndIgnition = 18; // "Verificare il cavo di collegamento e che il quadro sia acceso."
constexpr int UnsupportedUnitKind = 102;  // "Centralina di tipo diverso, non supportata da questo programma."
constexpr int LinkLibraryNotLoaded = 200; // "Impossibile caricare la libreria di comunicazione ..."
constexpr int LinkLostWhileReading = 201; // "Collegamento ... perso durante la lettura della configurazione."
constexpr int UnitInUseByOtherProgram = 370; // "La centralina è in uso da parte di un altro programma."

// Wait window.
constexpr int PercentCompleted = 21; // "completato": follows the percentage

// Program start.
constexpr int InterfaceTextFileMissing = 202; // "File dei testi dell'interfaccia mancante o illeggibile; ..."

// Configuration window: buttons, pages, undo and history.
// "Tutta la configurazione della centralina verrà cancellata ..."
constexpr int EraseConfigurationQuestion = 22;
constexpr int EraseEeprom = 23;              // "Cancella EPPROM"
constexpr int VehicleConfigurationPage = 24; // "Configurazione Vettura"
constexpr int OptionalSettingsPage = 25;     // "Configurazioni Opzionali"
constexpr int ActuatorPage = 26;             // "Attuatore"
constexpr int ChangeHistory = 325;           // "Cronologia modifiche"
constexpr int Undo = 326;
constexpr int Redo = 327;
constexpr int RescaledSameValue = 630; // "stesso valore, nuova scala": an engine speed a rule rewrote

// Configuration window: the live values panel.
constexpr int LiveRpm = 69;              // "Giri"
constexpr int LiveTemperature = 70;      // "Temperatura"
constexpr int LiveTpsIdle = 71;          // "Minimo TPS"
constexpr int LiveActuatorPosition = 72; // "Posizione Attuatore"
constexpr int LiveDefaultPosition = 73;  // "Posizione Default"
constexpr int LiveLambda = 74;
constexpr int LiveTps = 75;

// Configuration window: the captions of the settings and the entries of the
// lists, each list's entries in the order of its values.
constexpr int IgnitionType = 27;
constexpr int FourCylinders = 28;
constexpr int FiveCylinders = 29;
constexpr int SixCylinders = 30;
constexpr int EightCylinders = 31;
constexpr int FourCylindersStaticCoil = 32;
constexpr int FourCylindersInjectorSignal = 33;
constexpr int RpmSignal = 34; // "Segnale Giri"
constexpr int RpmSignalStandard = 35;
constexpr int RpmSignalWeak = 36;  // "Debole"
constexpr int ChangeoverType = 37; // "Tipo Cambio": when the engine changes over to gas
constexpr int ChangeoverOnDeceleration = 38;
constexpr int ChangeoverOnAcceleration = 39;
constexpr int ChangeoverTemperature = 40;
constexpr int ChangeoverRpm = 41;
constexpr int ChangeoverOverlapTime = 42;   // "Tempo sovrapposizione"
constexpr int LambdaProbeReadingDelay = 43; // "Ritardo Lettura Sonda"
constexpr int SwitchType = 44;              // "Tipo commutatore": the fuel switch
constexpr int SwitchPushButtonOnly = 45;
constexpr int SwitchWithIndicator = 46;
constexpr int LevelSensorType = 47;
constexpr int LevelSensorLandiRenzo = 48;
constexpr int LevelSensorOrv = 49;
constexpr int LevelSensor0To90Ohm = 50;
constexpr int TpsType = 51;
constexpr int TpsLinear0To5Volt = 52;
constexpr int TpsLinear5To0Volt = 53;
constexpr int TpsSwitch0To12Volt = 54;
constexpr int TpsSwitch12To0Volt = 55;
constexpr int TpsMonobosch = 56;
constexpr int NoTps = 57;
constexpr int LambdaProbeType = 58;
constexpr int LambdaProbe0To1Volt = 59;
constexpr int LambdaProbe0To5VoltTypeA = 60;
constexpr int LambdaProbe0To5VoltTypeB = 61;
constexpr int LambdaProbe5To0VoltTypeA = 62;
constexpr int LambdaProbe5To0VoltTypeB = 63;
constexpr int LambdaProbe08To16Volt = 64; // "0,8÷1,6 Volt"
constexpr int EmulationType = 65;
constexpr int NoEmulation = 66;
constexpr int StandardWaveEmulation = 67;
constexpr int CustomWaveEmulation = 68; // "Onda costruita"
constexpr int EnableFullThrottle = 76;  // "Abilita Affondata"
constexpr int FullThrottlePosition = 77;
constexpr int FullThrottleTps = 78;
constexpr int CutOff = 79;
constexpr int CutOffRpm = 80;
constexpr int CutOffActuatorPosition = 81; // "Posizione Motore in Cutoff"
constexpr int SetFixedDefault = 82;        // "Imposta Default Fisso"
constexpr int FixedDefaultPosition = 83;
constexpr int ActuatorMaximumOpening = 84;
constexpr int ActuatorMinimumOpening = 85;
constexpr int EnableOverSpeed = 86;         // "Abilita Fuori Giri"
constexpr int OverSpeedRpmThreshold = 87;   // "Soglia Giri per Fuori Giri"
constexpr int EconomyDriving = 88;          // "Guida Economica"
constexpr int TpsIdleHysteresis = 89;       // "Isteresi sul Minimo TPS"
constexpr int LambdaReferenceAtIdle = 103;  // "Riferimento Lambda Al minimo"
constexpr int LambdaReferenceOffIdle = 104; // "Riferimento Lambda Fuori Minimo"

// Custom wave dialog.
constexpr int WaveHighTime = 97;           // "Tempo onda alta"
constexpr int WaveLowTime = 98;            // "Tempo onda bassa"
constexpr int NumberOfWaves = 99;          // "Numero di onde"
constexpr int DisconnectedProbeTime = 100; // "Tempo sonda scollegata"

// Configuration files: loading into and saving from the unit.
constexpr int LoadConfigurationCaption = 92;       // "Carica configurazione"
constexpr int LoadingConfigurationPleaseWait = 90; // "Caricamento configurazione in corso. Attendere ..."
constexpr int SaveConfigurationCaption = 93;       // "Salva configurazione"
constexpr int SavingConfigurationPleaseWait = 91;  // "Salvataggio configurazione in corso. Attendere ..."
constexpr int ConfigurationFileCaption = 95;       // "File di configurazione"
constexpr int FileProtectedOrNoLinkLibrary = 94;   // "Operazione non possibile: file protetto o libreria ..."
constexpr int InvalidConfigurationFile = 96;       // "Il file non è un file di configurazione valido ..."
// "Caricare nella centralina il file di configurazione\n%1?"
constexpr int LoadConfigurationFileQuestion = 300;
constexpr int ConfigurationFileOfferedLater = 301; // "... sarà proposto per il caricamento appena ..."
constexpr int ConfigurationSavedStatus = 670;  // "Configurazione salvata in %1": the status bar after a save
constexpr int ConfigurationLoadedStatus = 671; // "%1 caricato: %2 valori scritti nella centralina"

// Configuration files: why a file is refused, in the order of TConfigFileStatus
// from Missing to Damaged (a status's text is FileDoesNotExist + its distance
// from Missing).
constexpr int FileDoesNotExist = 400; // "Il file non esiste."
constexpr int FileIsAFolder = 401;    // "Questa è una cartella, non un file."
constexpr int FileCannotBeRead = 402; // "Il file non può essere letto (permessi o errore di lettura)."
constexpr int FileTooLarge = 403;     // "Il file è più grande di 1 MiB: non è un file di configurazione."
constexpr int FileNotAConfiguration = 404; // "Il file non è un file di configurazione."
constexpr int FileIncomplete = 405;        // "Il file è incompleto: è stato troncato."
constexpr int FileDamaged = 406; // "Il file è danneggiato: il suo codice di controllo non corrisponde ..."

// Loading a configuration file: the report of what the load left.
constexpr int NothingToLoadInFile = 407;      // "Il file non contiene alcun valore che si possa caricare ..."
constexpr int NotLoadedHeading = 408;         // "Valori non caricati:"
constexpr int StoredDifferentlyHeading = 409; // "Valori che la centralina memorizza diversamente dal file:"
constexpr int LeftAloneHeading = 410; // "Valori che il caricamento di un file non scrive ..., diversi ..."
constexpr int StoredAs = 420;         // "memorizzato come"
constexpr int UnitHolds = 421;        // "la centralina ha"

// Loading a configuration file: why an entry was not loaded, in the order of
// TLoadNote::Reason from UnknownEntry to FollowOnFailed (a reason's text is
// UnknownEntryReason + the reason).
constexpr int UnknownEntryReason = 411; // "nessun parametro ha questo nome"
constexpr int NotAnEntryReason = 412;   // "riga non comprensibile"
constexpr int NotANumberReason = 413;   // "non è un numero"
constexpr int RepeatedReason = 414;     // "presente più volte nel file: nessuno dei valori viene scritto"
constexpr int OutOfRangeReason = 415;   // "fuori dai valori ammessi"
constexpr int NotWrittenReason = 416;   // "la centralina non ha accettato la scrittura"
constexpr int NotHeldReason = 417;      // "riletto, la centralina non lo contiene come è stato scritto"
constexpr int AdjustedReason = 418; // "modificato per tenere le posizioni dell'attuatore entro i loro limiti"
constexpr int FollowOnFailedReason = 419; // "non è riuscita una scrittura conseguente a un altro valore"

// Firmware: reprogramming the unit.
constexpr int ReprogramFirmware = 143;      // "Riprogramma Firmware": the main menu entry and the caption
constexpr int BootLoaderUpdateFailed = 145; // "Aggiornamento del bootloader non riuscito."
// "Il firmware della centralina è più recente ... Riprogrammare comunque?"
constexpr int UnitFirmwareNewerQuestion = 146;
constexpr int PreparingPleaseWait = 147;       // "Preparazione in corso. Attendere ..."
constexpr int FirmwareImageNotAvailable = 149; // "Immagine del firmware non disponibile."
constexpr int UpdatingBootLoader = 150;        // "Aggiornamento del bootloader in corso ..."
constexpr int ProgrammingFirstPass = 151;      // "Programmazione in corso (1° passaggio) ..."
constexpr int ProgrammingSecondPass = 152;     // "Programmazione in corso (2° passaggio) ..."
// "La centralina è in modalità bootloader: impossibile riprogrammarla. ..."
constexpr int UnitInBootLoaderMode = 153;

// Backups of the unit's configuration.
constexpr int BackupCaption = 320;             // "Copia di sicurezza"
constexpr int BackupFailed = 321;              // "Non è stato possibile salvare una copia di sicurezza ..."
constexpr int GoOnWithoutBackupQuestion = 322; // "Continuare senza copia di sicurezza?"
// "Dopo l'aggiornamento del firmware questi valori ..."
constexpr int ValuesDifferFromBackupAfterFirmware = 323;
constexpr int WriteBackupBackQuestion = 324; // "Riscrivere la copia nella centralina?"

// Safe sequences: backups before risky operations, and changes that could not
// reach a unit.
// "Riprogrammare il firmware ...?\nPrima verrà salvata una copia ..."
constexpr int ReprogramWithBackupQuestion = 440;
// "Riprogrammare il firmware ...?\nNessuna centralina è connessa ..."
constexpr int ReprogramWithoutBackupQuestion = 441;
// "Nessuna centralina è connessa: i valori del file non sono stati scritti ..."
constexpr int FileNotWrittenNoUnit = 442;
// "Nessuna centralina è connessa: la modifica non è stata scritta ..."
constexpr int ChangeNotWrittenNoUnit = 443;

// Backups window.
constexpr int Backups = 333;                 // "Copie di sicurezza": the window and the main window's action
constexpr int BackupDateColumn = 334;        // "Data"
constexpr int BackupReasonColumn = 335;      // "Motivo"
constexpr int BackupDifferencesColumn = 337; // "Differenze"
constexpr int RestoreBackup = 338;           // "Ripristina"
constexpr int CompareBackupWithUnit = 339;   // "Confronta con la centralina"
constexpr int CompareTwoFiles = 340;         // "Confronta due file"
// "Scrivere nella centralina la copia di sicurezza selezionata?"
constexpr int WriteSelectedBackupQuestion = 341;
constexpr int NoteForNextBackups =
    615;                              // "Nota per le prossime copie": goes with the backups made from now on
constexpr int BackupNoteColumn = 616; // "Nota della copia": the note kept with each backup
constexpr int ChooseFirstFile = 617;  // "Scegliere il primo file da confrontare"
constexpr int ChooseSecondFile = 618; // "Scegliere il secondo file da confrontare"
// Why a backup was made, as the backups window shows it.
constexpr int BackupAtConnect = 610;      // "Alla connessione"
constexpr int BackupBeforeLoad = 611;     // "Prima di caricare un file"
constexpr int BackupBeforeErase = 612;    // "Prima di cancellare la configurazione"
constexpr int BackupBeforeFirmware = 613; // "Prima di riprogrammare il firmware"
constexpr int BackupBeforeRestore = 614;  // "Prima di ripristinare una copia"

// Compare window.
constexpr int CompareConfigurations = 328; // "Confronto configurazioni"
constexpr int CompareItemColumn = 329;     // "Parametro"
constexpr int CompareUnitColumn = 330;     // "Centralina": the unit's side of a comparison
constexpr int LoadTickedValues = 332;      // "Carica selezionati"
constexpr int NotRead = 430;               // "non letto": a value the unit did not give
constexpr int CompareDetails = 620;        // "Dettagli": the check box that shows the stored bytes
constexpr int CompareBytesColumn = 621;    // "Byte memorizzati": both values as the unit stores them
// Items no page of the configuration window shows, named where a change or a
// comparison brings them up.
constexpr int FullPowerBandRpm = 631; // "Giri fascia piena potenza": GiriSbananata

// Live chart window.
constexpr int LiveChart = 240; // "Grafico in tempo reale": the window and the main window's action
constexpr int ChartPause = 241;
constexpr int ChartRecord = 242;
constexpr int ChartStopRecording = 243;
constexpr int ChartMarker = 244;
constexpr int ChartOpenLog = 245;       // "Apri registrazione..."
constexpr int ChartGoLive = 246;        // "Dal vivo": back to the live samples
constexpr int ChartLogFolder = 247;     // "Cartella registrazioni..."
constexpr int ChartVisibleWindow = 248; // "Finestra visibile": the span of time shown
constexpr int LambdaSwitching = 249;
constexpr int LambdaLean = 250;   // "Magro"
constexpr int LambdaInBand = 251; // "In fascia"
constexpr int LambdaRich = 252;   // "Grasso"
constexpr int ActuatorMean = 253;
constexpr int ActuatorSpan = 254; // "Escursione attuatore"
constexpr int ChartCursor = 255;
constexpr int MarkerNotePrompt = 265;       // "Nota del marcatore (facoltativa):"
constexpr int NotADataLog = 266;            // "Il file non è una registrazione di questo programma."
constexpr int DataLogCannotBeWritten = 267; // "Impossibile scrivere la registrazione."
constexpr int ChartRecording = 268;         // "Registrazione"
constexpr int ChartReplay = 269;            // "Riproduzione"
constexpr int VisibleWindowFigures = 270;   // "Valori della finestra visibile"
constexpr int ChooseLogFolder = 271;        // "Scegliere la cartella delle registrazioni"
constexpr int OpenDataLog = 272;            // "Apri una registrazione"
constexpr int GapDisconnected = 600;        // "Scollegata": a gap in the samples while the link was lost
constexpr int GapChartClosed = 601;         // "Grafico chiuso": a gap while the chart was closed
constexpr int LambdaReferenceLine = 602;    // "Riferimento lambda"
constexpr int RecordingSavedIn = 603;       // "Registrazione salvata in"
constexpr int OpenRecordingFolder = 604;    // "Apri cartella"
constexpr int ChartMoveKeys = 605;          // the keys that move the view and jump between markers

// Live chart: the names of the channels and their unit.
constexpr int ChannelLambda = 256;
constexpr int ChannelTps = 257;
constexpr int ChannelTpsIdle = 258;
constexpr int ChannelEngineSpeed = 259;
constexpr int ChannelActuator = 260;
constexpr int ChannelDefaultPosition = 261;
constexpr int ChannelLambdaBand = 262;
constexpr int ChannelTpsBand = 263;
constexpr int ChannelTemperature = 264;
constexpr int StepsUnit = 274; // "passi": the unit of the actuator's position

// Road-test pane of the chart window.
constexpr int RoadTest = 480;              // "Prova su strada"
constexpr int CheckRoadTest = 520;         // "Verifica"
constexpr int ApplySuggestions = 514;      // "Applica"
constexpr int WriteReport = 519;           // "Rapporto..."
constexpr int ClosedLoopTime = 557;        // "Anello chiuso: %1 s su %2 s"
constexpr int NoLogShown = 555;            // "Nessun registro visualizzato: registrarne o aprirne uno prima."
constexpr int NoUnitForSuggestions = 554;  // "Nessuna centralina è connessa: i suggerimenti non possono ..."
constexpr int RoadTestSuggestions = 547;   // "Suggerimenti della prova su strada": the step of the history
constexpr int UnitNowHolds = 548;          // "La centralina ora contiene:\n%1"
constexpr int SuggestionsNotWritten = 549; // "Questi valori non sono stati scritti nella centralina: %1"
constexpr int ReportNotWritten = 550;      // "Non è stato possibile scrivere il rapporto: %1"
constexpr int WorkshopName = 551;          // "Nome dell'officina"
constexpr int WorkshopAddress = 552;       // "Indirizzo dell'officina"
constexpr int PdfFileFilter = 556;         // "File PDF (*.pdf)"

// Road-test pane and customer's report: the columns of the criteria and of the
// suggestions.
constexpr int CriterionColumn = 509; // "Criterio"
constexpr int VerdictColumn = 510;   // "Giudizio"
constexpr int FigureColumn = 511;    // "Misura"
constexpr int ThresholdColumn = 512; // "Soglia"
constexpr int ParameterColumn = 515; // "Parametro"
constexpr int CurrentColumn = 516;   // "Attuale"
constexpr int ProposedColumn = 517;  // "Proposto"
constexpr int ReasonColumn = 518;    // "Motivo"

// Customer's report.
constexpr int RoadTestReport = 522;          // "Rapporto di configurazione e prova su strada": its title
constexpr int ReportWorkshop = 523;          // "Officina"
constexpr int ReportVehicle = 524;           // "Veicolo"
constexpr int VehiclePlate = 525;            // "Targa"
constexpr int VehicleMake = 526;             // "Marca"
constexpr int VehicleModel = 527;            // "Modello"
constexpr int ReportDate = 528;              // "Data"
constexpr int ReportControlUnit = 529;       // "Centralina"
constexpr int ReportFirmware = 530;          // "Firmware"
constexpr int ReportConfigurationFile = 546; // "File di configurazione"
constexpr int NotKnown = 545;                // "non nota"
constexpr int SettingsHeading = 531;         // "Impostazioni"
constexpr int FurtherSettingsHeading = 532;  // "Altre impostazioni"
// "Modifiche rispetto alla configurazione precedente registrata (%1)"
constexpr int ChangesSincePreviousHeading = 533;
constexpr int ChangesFromFactoryHeading = 534; // "Modifiche rispetto ai valori di fabbrica"
constexpr int NoValueDiffers = 535;            // "Nessun valore è diverso."
constexpr int BeforeColumn = 536;              // "Prima"
constexpr int AfterColumn = 537;               // "Dopo"
constexpr int RoadTestVerdictHeading = 538;    // "Esito della prova su strada"
constexpr int NoRoadTestLog = 539;             // "Nessun registro di prova su strada."
constexpr int OverallVerdict = 553;            // "Esito: %1"
constexpr int SuggestionsHeading = 513;        // "Suggerimenti"
constexpr int NoSuggestions = 521;             // "Nessun suggerimento."
constexpr int DataLogHeading = 540;            // "Registro dati"
constexpr int FitterSignature = 541;           // "Firma dell'installatore"
constexpr int CustomerSignature = 542;         // "Firma del cliente"
constexpr int Yes = 543;                       // "Sì": a ticked box of the configuration window
constexpr int No = 544;                        // "No"

// Road-test check: the criteria, the verdicts, the figures and the reasons of
// the suggestions.
constexpr int RpmSignalCriterion = 481;         // "Segnale giri"
constexpr int WarmUpCriterion = 482;            // "Riscaldamento"
constexpr int LambdaSwitchingCriterion = 483;   // "Commutazione lambda"
constexpr int MixtureBalanceCriterion = 484;    // "Equilibrio della miscela"
constexpr int ActuatorAuthorityCriterion = 485; // "Margine dell'attuatore"
constexpr int DefaultPositionCriterion = 486;   // "Posizione di default"
constexpr int CoverageCriterion = 487;          // "Copertura"
constexpr int VerdictPass = 488;                // "Superato"
constexpr int VerdictWarning = 489;             // "Attenzione"
constexpr int VerdictFail = 490;                // "Non superato"
constexpr int MixtureLean = 491;                // "magra"
constexpr int MixtureRich = 492;                // "ricca"
constexpr int AtLowerLimit = 493;               // "limite inferiore"
constexpr int AtUpperLimit = 494;               // "limite superiore"
constexpr int CoverageIdle = 495;               // "minimo"
constexpr int CoverageCruise = 496;             // "crociera"
constexpr int CoverageFullThrottle = 497;       // "pieno carico"
constexpr int NoSteadyClosedLoop = 498;         // "nessun anello chiuso stabile"
// "Solo %1 s di anello chiuso ...: la verifica ... non dà un giudizio."
constexpr int TooLittleClosedLoop = 499;
// "Il motore non ha raggiunto la temperatura di cambio ..."
constexpr int ChangeoverTemperatureNotReached = 500;
constexpr int DefaultPositionReason = 501; // "In anello chiuso stabile l'attuatore si assesta a %1 passi."
constexpr int WidenUpperLimitReason = 502; // "L'attuatore resta a questo limite superiore per il %1 ..."
constexpr int WidenLowerLimitReason = 503; // "L'attuatore resta a questo limite inferiore per il %1 ..."
// "... controllare l'alimentazione del gas (pressione, filtro, iniettori)."
constexpr int InspectGasSupplyReason = 504;
constexpr int InspectRichMixtureReason = 505; // "... controllare la pressione del riduttore e gli iniettori."
// "La sonda lambda non commuta mentre l'attuatore è libero: ..."
constexpr int InspectLambdaSensorReason = 506;
constexpr int InspectLambdaWiringReason = 507; // "Il segnale lambda commuta %1 volte al secondo, ..."
// "I giri scendono a 0 con l'acceleratore aperto (per %1 s): ..."
constexpr int InspectSpeedSignalReason = 508;

// Vehicles window, the current vehicle and its records. The field names
// (PlateField to NotesField) follow the order of VehicleFields::Names().
constexpr int VehicleRecords = 700;        // "Archivio veicoli"
constexpr int NotRecordedOnVehicle = 701;  // "L'operazione è stata eseguita ma non è stata registrata s..."
constexpr int CurrentVehicle = 702;        // "Veicolo: %1"
constexpr int NoVehicle = 703;             // "Nessun veicolo"
constexpr int NewVehicle = 704;            // "Nuovo veicolo"
constexpr int WhichVehicleQuestion = 705;  // "Su quale veicolo è montata questa centralina?"
constexpr int VehicleDifferences = 706;    // "%1 valori diversi"
constexpr int VehicleNotCompared = 707;    // "non confrontato"
constexpr int ChooseVehicle = 708;         // "Scegli"
constexpr int VehiclesWindow = 709;        // "Veicoli"
constexpr int PlateField = 710;            // "Targa"
constexpr int VinField = 711;              // "Telaio (VIN)"
constexpr int CustomerField = 712;         // "Cliente"
constexpr int PhoneField = 713;            // "Telefono"
constexpr int MakeField = 714;             // "Marca"
constexpr int ModelField = 715;            // "Modello"
constexpr int EngineField = 716;           // "Motore"
constexpr int YearField = 717;             // "Anno"
constexpr int KitField = 718;              // "Kit di conversione"
constexpr int NotesField = 719;            // "Note"
constexpr int SearchVehicles = 720;        // "Cerca (targa, telaio, cliente, marca, modello):"
constexpr int SaveVehicle = 721;           // "Salva i dati"
constexpr int MakeVehicleCurrent = 722;    // "Rendi attuale"
constexpr int AddVehicleNote = 723;        // "Aggiungi nota"
constexpr int LoadThisConfiguration = 724; // "Carica questa configurazione..."
constexpr int CompareTwoEntries = 725;     // "Confronta le due voci"
constexpr int OpenLogInChart = 726;        // "Apri nel grafico"
constexpr int ExportConfigurationEntry = 727; // "Esporta il file..."
constexpr int FilterConfigurations = 728;     // "Configurazioni"
constexpr int FilterLogs = 729;               // "Registrazioni"
constexpr int FilterBackups = 730;            // "Copie di sicurezza"
constexpr int FilterChecks = 731;             // "Verifiche"
constexpr int FilterNotes = 732;              // "Note"
constexpr int TimelineWhen = 733;             // "Data"
constexpr int TimelineBench = 734;            // "Banco"
constexpr int TimelineKind = 735;             // "Tipo"
constexpr int TimelineSummary = 736;          // "Descrizione"
constexpr int VehicleNotSaved = 737;          // "I dati del veicolo non sono stati salvati:\n%1"
constexpr int ChooseTwoConfigurations = 738;  // "Selezionare due voci che contengono una configurazione."
constexpr int RecordsCannotBeOpened = 739;    // "L'archivio dei veicoli non può essere usato:\n%1"
constexpr int VehiclesClose = 756;            // "Chiudi"
constexpr int TimelineEntries = 740;          // "Storico"

// The timeline's kinds, in the order of TTimelineKind: KindConnect + kind.
constexpr int KindConnect = 742;       // "Collegamento"
constexpr int KindSave = 743;          // "Configurazione salvata"
constexpr int KindLoad = 744;          // "Configurazione caricata"
constexpr int KindRestore = 745;       // "Copia di sicurezza ripristinata"
constexpr int KindBackup = 746;        // "Copia di sicurezza"
constexpr int KindErase = 747;         // "Configurazione cancellata"
constexpr int KindLog = 748;           // "Registrazione dati"
constexpr int KindFirmware = 749;      // "Aggiornamento firmware"
constexpr int KindCheck = 750;         // "Verifica su strada"
constexpr int KindReport = 751;        // "Rapporto al cliente"
constexpr int KindNote = 752;          // "Nota"
constexpr int KindEdit = 753;          // "Dati del veicolo modificati"
constexpr int KindConfiguration = 754; // "Configurazione allegata"

} // namespace TextIndex
