// A typed app page as a user writes it against qmt.d.ts: calls of every family with their
// argument objects, results used as their declared types, the event handlers replaced.
/// <reference path="../../../tools/pack/qmt.d.ts" />

async function start(): Promise<void> {
    const version: string = await window.qmt.hello();
    const inRuntime: boolean = await qmt.isRuntime();
    document.title = `${version} ${inRuntime}`;

    const bounds: Qmt.WindowBounds = await qmt.window.getSize();
    await qmt.window.setSize({width: bounds.width + 10, height: "480"});
    await qmt.window.setTitle({title: "Typed"});
    await qmt.window.setBorder({border: "sizeable"});
    const state: Qmt.WindowState = await qmt.window.getState();
    if (state !== "maximized") await qmt.window.setState({state: "maximized"});
    const zoomTaken: boolean = await qmt.window.setZoom({factor: 1.25});
    const args: string[] = await qmt.app.getArgs();

    const items: Qmt.MenuItem[] = [{caption: "File", id: 1, items: [{caption: "Quit", id: 2, enabled: true}]}];
    await qmt.mainMenu.setItems({items: JSON.stringify(items)});
    await qmt.trayMenu.showIcon();
    await qmt.trayMenu.updateItem({id: 2, caption: "Exit"});
    const shown: boolean = await qmt.system.notification({name: "n1", title: "Hi", body: "There"});

    const path: string = await qmt.dialogs.saveFile({title: "Save", fileTypes: "Text|*.txt", overwritePrompt: true});
    if (path !== "") await qmt.files.writeTextFile({filePath: path, contents: "hello"});
    const exists: boolean = await qmt.files.fileExists({filePath: path});
    await qmt.files.extractFile({sourceFile: "data/readme.txt", targetFile: "readme.txt"});
    const temp: string = await qmt.folders.getTempDir();
    await qmt.base64.decodeToFile({filePath: temp + "x.bin", contents: "AAEC"});

    const output: string = await qmt.shell.command({command: "echo hi", showWindow: false});
    const windows: string[] = await qmt.shell.windows();
    await qmt.registry.writeValue({key: "Software\\Typed", name: "n", value: 3});
    const value: string = await qmt.registry.readValue({key: "Software\\Typed", name: "n"});
    const themes: string[] = await qmt.themes.getThemes();
    const themeSet: boolean = await qmt.themes.setTheme({name: themes[0]});

    console.log(zoomTaken, args.length, shown, exists, output, windows.length, value, themeSet);
}

qmt.events.onCloseQuery = () => {
    void qmt.app.close();
};
qmt.events.onMainMenuItemClick = (itemId: string) => console.log(Number(itemId));
qmt.events.onNotificationClick = (name) => console.log(name.toUpperCase());
start().catch((failure: Qmt.Failure) => console.error(failure));
