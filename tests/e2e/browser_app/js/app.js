// Loaded as js/app.js?v=3: the query string must not keep the payload from answering.
window.appScriptLoaded = true;
