// Velmora bridge: window.qmt gives the page one function per native operation of the host.
// Each call posts {id, uuid, data} to the host and returns a promise that the reply with the
// same uuid settles; the host reports events by calling the handlers in window.qmt.events.
window.qmt = {
    call: function (funcID, args) {
        function uuidv4() {
            return 'xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx'.replace(/[xy]/g, function (c) {
                var r = Math.random() * 16 | 0;
                var v = c === 'x' ? r : (r & 0x3 | 0x8);
                return v.toString(16);
            });
        }
        var uuid = uuidv4();
        return new Promise(function (resolve, reject) {
            function exec(message) {
                if (message.data.uuid === uuid) {
                    window.chrome.webview.removeEventListener('message', exec);
                    if (message.data.success === true) {
                        resolve(message.data.result);
                    } else {
                        reject(message.data.result);
                    }
                }
            }
            window.chrome.webview.addEventListener('message', exec);
            window.chrome.webview.postMessage({id: funcID, uuid: uuid, data: args});
        });
    },
    hello: function () {
        return this.call(10001, {});
    },
    isRuntime: function () {
        return this.call(10002, {});
    },
    dialogs: {
        openFile: function (args) {
            return window.qmt.call(20001, args);
        },
        saveFile: function (args) {
            return window.qmt.call(20002, args);
        },
        selFolder: function (args) {
            return window.qmt.call(20003, args);
        }
    },
    files: {
        fileExists: function (args) {
            return window.qmt.call(30001, args);
        },
        deleteFile: function (args) {
            return window.qmt.call(30002, args);
        },
        writeTextFile: function (args) {
            return window.qmt.call(30003, args);
        },
        extractFile: function (args) {
            return window.qmt.call(30004, args);
        }
    },
    folders: {
        dirExists: function (args) {
            return window.qmt.call(40001, args);
        },
        deleteDir: function (args) {
            return window.qmt.call(40002, args);
        },
        getTempDir: function () {
            return window.qmt.call(40003, {});
        },
        getUserDocumentsDir: function () {
            return window.qmt.call(40004, {});
        },
        getUserDesktopDir: function () {
            return window.qmt.call(40005, {});
        },
        getAppExecutableDir: function () {
            return window.qmt.call(40006, {});
        },
        getAppDataDir: function () {
            return window.qmt.call(40007, {});
        }
    },
    app: {
        close: function () {
            return window.qmt.call(50001, {});
        },
        inFullscreen: function () {
            return window.qmt.call(50002, {});
        },
        enterFullscreen: function () {
            return window.qmt.call(50003, {});
        },
        exitFullscreen: function () {
            return window.qmt.call(50004, {});
        },
        getArgs: function () {
            return window.qmt.call(50005, {});
        }
    },
    window: {
        getStyle: function () {
            return window.qmt.call(60001, {});
        },
        setStyle: function (args) {
            return window.qmt.call(60002, args);
        },
        getState: function () {
            return window.qmt.call(60003, {});
        },
        setState: function (args) {
            return window.qmt.call(60004, args);
        },
        getTitle: function () {
            return window.qmt.call(60005, {});
        },
        setTitle: function (args) {
            return window.qmt.call(60006, args);
        },
        getZoom: function () {
            return window.qmt.call(60007, {});
        },
        setZoom: function (args) {
            return window.qmt.call(60008, args);
        },
        getSize: function () {
            return window.qmt.call(60009, {});
        },
        setSize: function (args) {
            return window.qmt.call(60010, args);
        },
        getBorder: function () {
            return window.qmt.call(60011, {});
        },
        setBorder: function (args) {
            return window.qmt.call(60012, args);
        }
    },
    shell: {
        execute: function (args) {
            return window.qmt.call(70001, args);
        },
        explore: function (args) {
            return window.qmt.call(70002, args);
        },
        command: function (args) {
            return window.qmt.call(70003, args);
        },
        windows: function () {
            return window.qmt.call(70004, {});
        }
    },
    themes: {
        getTheme: function () {
            return window.qmt.call(80001, {});
        },
        getThemes: function () {
            return window.qmt.call(80002, {});
        },
        setTheme: function (args) {
            return window.qmt.call(80003, args);
        }
    },
    base64: {
        decodeToFile: function (args) {
            return window.qmt.call(90001, args);
        }
    },
    system: {
        logoff: function () {
            return window.qmt.call(11001, {});
        },
        reboot: function () {
            return window.qmt.call(11002, {});
        },
        shutdown: function () {
            return window.qmt.call(11003, {});
        },
        notification: function (args) {
            return window.qmt.call(11004, args);
        }
    },
    mainMenu: {
        setItems: function (args) {
            return window.qmt.call(12001, args);
        },
        updateItem: function (args) {
            return window.qmt.call(12002, args);
        }
    },
    registry: {
        writeValue: function (args) {
            return window.qmt.call(13001, args);
        },
        readValue: function (args) {
            return window.qmt.call(13002, args);
        },
        valueExist: function (args) {
            return window.qmt.call(13003, args);
        },
        deleteValue: function (args) {
            return window.qmt.call(13004, args);
        },
        keyExist: function (args) {
            return window.qmt.call(13005, args);
        },
        deleteKey: function (args) {
            return window.qmt.call(13006, args);
        }
    },
    trayMenu: {
        showIcon: function () {
            return window.qmt.call(14001, {});
        },
        hideIcon: function () {
            return window.qmt.call(14002, {});
        },
        setItems: function (args) {
            return window.qmt.call(14003, args);
        },
        updateItem: function (args) {
            return window.qmt.call(14004, args);
        }
    },
    events: {
        onCloseQuery: function () {
            window.qmt.app.close();
        },
        onMainMenuItemClick: function (itemId) {
        },
        onTrayMenuItemClick: function (itemId) {
        },
        onTrayIconClick: function () {
        },
        onNotificationClick: function (notifName) {
        }
    }
};
