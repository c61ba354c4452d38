// An ES module that imports another: module loads need the app scheme to be CORS-enabled.
import {value} from './value.js';
window.moduleLoaded = value === 42;
