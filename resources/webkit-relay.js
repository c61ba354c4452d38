// Velmora on WebKitGTK: the one way from a page to the host. It runs in a script world of its
// own and in the top-level document only, where the script message handler "qmt" exists: pages
// and their frames cannot reach the handler, and the host checks the document's URI before it
// runs anything. The shim (webkit-shim.js) hands it each message as JSON text.
(function () {
    'use strict';
    var handler = window.webkit.messageHandlers.qmt;
    window.addEventListener('velmora:post', function (event) {
        if (typeof event.detail === 'string') handler.postMessage(event.detail);
    }, true);
})();
