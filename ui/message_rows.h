// The message-table rows the desktop program's windows show, by name.
#pragma once

namespace corvane::ui::row {

inline constexpr int kCannotOpen = 3;             // "¡ El fichero no se ha podido abrir !"
inline constexpr int kOrderFileFilter = 27;       // "Log con orden de archivos (DEF)|*.def"
inline constexpr int kNewDirectoryTitle = 28;     // "Nuevo directorio"
inline constexpr int kNewDirectoryPrompt = 29;    // "Introduce el nombre del nuevo directorio :"
inline constexpr int kSectionWord = 32;           // "Sección"
inline constexpr int kSaving = 33;                // "Guardando..."
inline constexpr int kAboutTitle = 50;            // "Acerca de..."
inline constexpr int kAboutThanks1 = 51;          // "Este programa ha sido realizado gracias a la"
inline constexpr int kAboutThanks2 = 52;          // "ayuda y el código ofrecido por estas personas :"
inline constexpr int kOk = 53;                    // "OK"
inline constexpr int kCancel = 72;                // "Cancelar"
inline constexpr int kChooseFolder = 161;         // "Selección de directorio..."
inline constexpr int kChooseFiles = 200;          // "Selección de los archivos..."
inline constexpr int kSaveBeforeExit = 225;       // "¿ Guardar los cambios antes de salir ?"
inline constexpr int kSaveChanges = 226;          // "¿ Guardar los cambios ?"
inline constexpr int kNewDirectoryName = 230;     // "nuevo"
inline constexpr int kSearchLabel = 274;          // "Buscar :"
inline constexpr int kInfoDirectories = 275;      // "Número de directorios :"
inline constexpr int kInfoFiles = 276;            // "Número de archivos :"
inline constexpr int kInfoSpace = 277;            // "Espacio ocupado :"
inline constexpr int kInfoTitle = 278;            // "Información"
inline constexpr int kInsertFilters = 292;        // "Todos los archivos (*.*)|*.*|Scripts (CPI)|..."
inline constexpr int kCompareFilters = 295;       // the comparison's model list (may be empty)
inline constexpr int kTextFileFilter = 310;       // "Archivo de texto (TXT)|*.txt"
inline constexpr int kCompareFirst = 335;         // "Firmware 1 :"
inline constexpr int kCompareSecond = 336;        // "Firmware 2 :"
inline constexpr int kCompareButton = 337;        // "Comparar"
inline constexpr int kSaveSummary = 338;          // "Guardar resumen"
inline constexpr int kMatchCase = 339;            // "Coincidir mayúsculas y minúsculas"
inline constexpr int kSearchOptions = 343;        // "Opciones de búsqueda"
inline constexpr int kSearchNamesAndContent = 344;  // "Buscar en nombres e internamente"
inline constexpr int kSearchNamesOnly = 345;      // "Buscar solo en nombres"
inline constexpr int kSearchContentOnly = 346;    // "Buscar solo internamente"

// Rows of our own.
inline constexpr int kQtLanguage = 390;           // "es": the language of Qt's own texts
inline constexpr int kDetectModelFilter = 391;    // "Detectar el modelo (*.bin *.rcu *.rsc)"
inline constexpr int kAboutDescription = 392;     // "Editor de firmware para receptores de satélite MHW"
inline constexpr int kAboutAuthors = 393;         // "Los desarrolladores de Corvane"

}  // namespace corvane::ui::row
