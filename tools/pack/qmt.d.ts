// Velmora: TypeScript declarations of window.qmt, the bridge every page of a packaged app gets.
// Reference it from an app's TypeScript sources:  /// <reference path="qmt.d.ts" />
//
// Every function returns a promise that the host's reply settles: it resolves with the result
// and rejects with the host's failure text (a string). Text arguments may also be given as
// numbers: the host reads a number's literal text. Functions marked "runtime only" answer only
// in a packaged executable, not in a page opened elsewhere.

declare namespace Qmt {
    /** The host's failure text, with which a rejected promise settles. */
    type Failure = string;

    /** Text argument: numbers are read as their literal text. */
    type Text = string | number;
    /** Integer argument: a number, or text holding one. */
    type Integer = number | string;
    /** Flag argument: a boolean, "true"/"false" in any case, or a number (0 is false). */
    type Flag = boolean | string | number;

    // --- app and window -------------------------------------------------------------------

    type WindowStyle = "normal" | "ontop";
    type WindowState = "normal" | "minimized" | "maximized";
    type WindowBorder = "sizeable" | "single" | "none" | "dialog" | "toolwindow" | "sizetoolwindow";

    interface WindowBounds {
        top: number;
        left: number;
        width: number;
        height: number;
    }

    interface SetStyleArgs {
        /** Default "normal". */
        style?: WindowStyle | string;
    }
    interface SetStateArgs {
        /** Default "normal". */
        state?: WindowState | string;
    }
    interface SetTitleArgs {
        /** Default: empty. */
        title?: Text;
    }
    interface SetZoomArgs {
        /** The zoom factor (1 is 100 %); a factor that is not taken resets the zoom. */
        factor?: Integer | number;
    }
    /** Each missing value keeps the window's current one. */
    interface SetSizeArgs {
        top?: Integer;
        left?: Integer;
        width?: Integer;
        height?: Integer;
    }
    interface SetBorderArgs {
        /** Default "sizeable". */
        border?: WindowBorder | string;
    }

    interface App {
        /** Approves the close request and closes the window; the promise never settles. */
        close(): Promise<never>;
        inFullscreen(): Promise<boolean>;
        /** Runtime only; the promise never settles. */
        enterFullscreen(): Promise<never>;
        /** Runtime only; the promise never settles. */
        exitFullscreen(): Promise<never>;
        /** Runtime only: the executable's path, then each command-line argument. */
        getArgs(): Promise<string[]>;
    }

    interface Window {
        getStyle(): Promise<WindowStyle>;
        /** Runtime only. */
        setStyle(args: SetStyleArgs): Promise<true>;
        /** Runtime only. */
        getState(): Promise<WindowState>;
        /** Runtime only. */
        setState(args: SetStateArgs): Promise<true>;
        getTitle(): Promise<string>;
        /** Runtime only. */
        setTitle(args: SetTitleArgs): Promise<true>;
        /** The zoom factor as text. */
        getZoom(): Promise<string>;
        /** true: the factor was taken; false: the zoom was reset. */
        setZoom(args: SetZoomArgs): Promise<boolean>;
        /** Runtime only. */
        getSize(): Promise<WindowBounds>;
        /** Runtime only. */
        setSize(args: SetSizeArgs): Promise<true>;
        /** Runtime only. */
        getBorder(): Promise<WindowBorder>;
        /** Runtime only. */
        setBorder(args: SetBorderArgs): Promise<true>;
    }

    // --- menus and tray -------------------------------------------------------------------

    interface MenuItem {
        /** The item's text; "-" makes a separator line. */
        caption: Text;
        /** The item's ID, reported to onMainMenuItemClick / onTrayMenuItemClick. */
        id: Integer;
        /** Default: enabled. */
        enabled?: Flag;
        /** The name of an image file. */
        image?: Text;
        /** The item's submenu. */
        items?: MenuItem[];
    }
    interface SetItemsArgs {
        /** JSON text of an array of items: JSON.stringify(items). */
        items: string;
    }
    interface UpdateItemArgs {
        id: Integer;
        caption?: Text;
        enabled?: Flag;
        image?: Text;
    }
    interface Menu {
        /** Rejects with "Missing menu items", "Wrong menu items JSON" or "Wrong menu item JSON". */
        setItems(args: SetItemsArgs): Promise<true>;
        /** Rejects with "Missing item ID", "Wrong item ID" or "No menu items". */
        updateItem(args: UpdateItemArgs): Promise<true>;
    }
    interface TrayMenu extends Menu {
        showIcon(): Promise<true>;
        hideIcon(): Promise<true>;
    }

    // --- notifications, themes, system ----------------------------------------------------

    interface NotificationArgs {
        /** Sent back to onNotificationClick when the notification is activated. */
        name?: Text;
        title?: Text;
        body?: Text;
    }
    interface System {
        /** true: shown; false: the platform has no notification support. */
        notification(args: NotificationArgs): Promise<boolean>;
        /** Runtime only; rejects with the system's error text. */
        logoff(): Promise<true>;
        /** Runtime only; rejects with the system's error text. */
        reboot(): Promise<true>;
        /** Runtime only; rejects with the system's error text. */
        shutdown(): Promise<true>;
    }

    interface SetThemeArgs {
        name?: Text;
    }
    interface Themes {
        /** Runtime only. */
        getTheme(): Promise<string>;
        /** Runtime only: every theme name, sorted. */
        getThemes(): Promise<string[]>;
        /** Runtime only. true when the named theme is now active. */
        setTheme(args: SetThemeArgs): Promise<boolean>;
    }

    // --- dialogs --------------------------------------------------------------------------

    interface OpenFileArgs {
        fileName?: Text;
        /** Default "Open file". */
        title?: Text;
        /** Filter text, for example "Text files|*.txt|All files|*.*". */
        fileTypes?: Text;
    }
    interface SaveFileArgs {
        fileName?: Text;
        /** Default "Save file". */
        title?: Text;
        fileTypes?: Text;
        /** Default false. */
        overwritePrompt?: Flag;
    }
    interface SelFolderArgs {
        /** Default "Save file". */
        title?: Text;
    }
    /** Each resolves with the chosen path, or "" when the user cancelled. */
    interface Dialogs {
        openFile(args: OpenFileArgs): Promise<string>;
        saveFile(args: SaveFileArgs): Promise<string>;
        /** The folder's path ends with the path separator. */
        selFolder(args: SelFolderArgs): Promise<string>;
    }

    // --- files, folders, base64 -----------------------------------------------------------

    /** Relative paths are taken below the executable's folder. */
    interface FilePathArgs {
        filePath: Text;
    }
    interface WriteFileArgs {
        filePath: Text;
        /** Default: empty. */
        contents?: Text;
    }
    interface ExtractFileArgs {
        /** The payload entry's path below the app folder. */
        sourceFile: Text;
        targetFile: Text;
    }
    interface DirPathArgs {
        dirPath: Text;
    }
    interface Files {
        /** Rejects with "Missing filePath". */
        fileExists(args: FilePathArgs): Promise<boolean>;
        deleteFile(args: FilePathArgs): Promise<boolean>;
        /** Rejects with "Missing filePath" or the error that stopped the write. */
        writeTextFile(args: WriteFileArgs): Promise<true>;
        /** Runtime only. Rejects with "Missing sourceFile", "Missing targetFile", "File not found", … */
        extractFile(args: ExtractFileArgs): Promise<true>;
    }
    /** Folder paths end with the path separator. */
    interface Folders {
        dirExists(args: DirPathArgs): Promise<boolean>;
        deleteDir(args: DirPathArgs): Promise<boolean>;
        getTempDir(): Promise<string>;
        getUserDocumentsDir(): Promise<string>;
        getUserDesktopDir(): Promise<string>;
        getAppExecutableDir(): Promise<string>;
        getAppDataDir(): Promise<string>;
    }
    interface Base64 {
        /** Writes the decoded bytes of contents (Base64 text) to filePath. */
        decodeToFile(args: WriteFileArgs): Promise<true>;
    }

    // --- shell ----------------------------------------------------------------------------

    interface ExecuteArgs {
        filePath: Text;
        arguments?: Text;
    }
    interface ExploreArgs {
        filePath: Text;
    }
    interface CommandArgs {
        command: Text;
        workingDir?: Text;
        /** Default "false". */
        showWindow?: Flag;
    }
    interface Shell {
        /** Opens a file or starts a program; rejects with the system's error text. */
        execute(args: ExecuteArgs): Promise<true>;
        /** Shows the file in the file manager. */
        explore(args: ExploreArgs): Promise<true>;
        /** Runs a command line and resolves with its collected output. */
        command(args: CommandArgs): Promise<string>;
        /** The captions of the desktop's top-level windows. */
        windows(): Promise<string[]>;
    }

    // --- registry -------------------------------------------------------------------------

    /** Keys are paths below the current user's key, for example "Software\\MyApp". */
    interface KeyArgs {
        key: Text;
    }
    interface ValueArgs extends KeyArgs {
        name: Text;
    }
    interface WriteValueArgs extends ValueArgs {
        value?: Text;
    }
    /** Reject with "Missing registry key." or "Missing value name.". */
    interface Registry {
        writeValue(args: WriteValueArgs): Promise<boolean>;
        /** The value's text; "" when the key or the value does not exist. */
        readValue(args: ValueArgs): Promise<string>;
        valueExist(args: ValueArgs): Promise<boolean>;
        deleteValue(args: ValueArgs): Promise<boolean>;
        keyExist(args: KeyArgs): Promise<boolean>;
        deleteKey(args: KeyArgs): Promise<boolean>;
    }

    // --- events ---------------------------------------------------------------------------

    /** The host calls these; a page replaces them by assigning its own functions. */
    interface Events {
        /** Every close request of the window; the default calls qmt.app.close(). */
        onCloseQuery: () => void;
        /** The clicked main-menu item's ID, in decimal. */
        onMainMenuItemClick: (itemId: string) => void;
        /** The clicked tray-menu item's ID, in decimal. */
        onTrayMenuItemClick: (itemId: string) => void;
        onTrayIconClick: () => void;
        /** The activated notification's name, as it was given. */
        onNotificationClick: (notifName: string) => void;
    }

    interface Bridge {
        /** Posts a call by its function ID; the typed functions below are the way to use it. */
        call(funcID: number, args: object): Promise<unknown>;
        /** The bridge's version text. */
        hello(): Promise<string>;
        /** true when the page runs in a packaged executable. */
        isRuntime(): Promise<boolean>;
        dialogs: Dialogs;
        files: Files;
        folders: Folders;
        app: App;
        window: Window;
        shell: Shell;
        themes: Themes;
        base64: Base64;
        system: System;
        mainMenu: Menu;
        registry: Registry;
        trayMenu: TrayMenu;
        events: Events;
    }
}

interface Window {
    qmt: Qmt.Bridge;
}
declare var qmt: Qmt.Bridge;
