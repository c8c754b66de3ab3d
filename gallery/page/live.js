// The gallery's live views: a converted shader that compiles runs in the page
// with WebGL 2, bound the way the host binds it, with one control per host
// parameter. Written by isf2orvy-gallery as live/page.js; live/host.js and
// one live/NAME.js per shader hand it their data through isf2orvyLive.
//
// The converted text runs as written after a prelude that maps the GLSL 1.10
// names it uses onto GLSL ES 3.00 and ends in "#line 1", so the browser's
// messages name the lines of the .frag file. One WebGL context serves the
// whole page and only the open view draws. "#check-live" in the address runs
// every view once and compares its first frame with the thumbnail;
// "#live=NAME.fs" opens one view.
(function () {
  'use strict';

  var texts = {
    open: 'live',
    close: 'close',
    reset: 'reset',
    play: 'play',
    pause: 'pause',
    cannotRun: 'the browser cannot run this shader:',
    noWebgl: 'this browser has no WebGL 2, which the live view needs',
    contextLost: 'the browser stopped WebGL; close the view and open it again',
    loadFailed: 'the live data of this shader cannot be loaded',
    dropHere: 'drop an image or a video on the picture to feed',
    noImageInput: 'this shader has no image input',
    wrongType: function (name) {
      return 'the uniform ' + name + ' does not have the type the host gives it';
    },
    clock: function (time, frame) { return time.toFixed(2) + ' s, frame ' + frame; }
  };

  var style = [
    '.live-open{margin:6px 0 0;padding:3px 12px;border:1px solid #224;border-radius:12px;',
    'background:#fff;cursor:pointer}',
    '#live-panel{position:fixed;top:0;right:0;bottom:0;width:min(440px,100%);overflow:auto;background:#fff;',
    'border-left:1px solid #bbb;box-shadow:-4px 0 16px rgba(0,0,0,.15);padding:12px 16px;',
    'box-sizing:border-box;z-index:10}',
    '#live-panel[hidden]{display:none}',
    '#live-panel canvas{display:block;width:100%;max-width:100%;height:auto;background:#ddd;margin:8px 0}',
    '#live-panel .row{display:flex;align-items:center;gap:8px;flex-wrap:wrap;margin:6px 0}',
    '#live-panel label{display:flex;align-items:center;gap:8px;margin:4px 0}',
    '#live-panel label span{min-width:110px}#live-panel input[type=range]{flex:1}',
    '#live-panel output{min-width:56px;font-variant-numeric:tabular-nums}',
    '#live-panel fieldset{border:1px solid #ddd;margin:6px 0;padding:2px 8px}',
    '.live-clock{font-variant-numeric:tabular-nums}',
    '.live-error{white-space:pre-wrap;font-size:12px;background:#fbeaea;padding:6px;margin:6px 0}'
  ].join('');

  // Words that GLSL ES 3.00 keeps for itself but GLSL 1.10, which the host
  // compiles, leaves to the shader as names of its own.
  var reservedWords = ['active', 'centroid', 'coherent', 'common', 'flat', 'invariant', 'layout',
    'noperspective', 'partition', 'patch', 'readonly', 'resource', 'restrict', 'sample', 'smooth',
    'subroutine', 'superp', 'writeonly'];

  // GLSL 1.10's fragment output, texture lookups and fixed-function texture
  // coordinate, declared under names of our own in GLSL ES 3.00. Sine and
  // cosine are computed here to within a unit or two in the last place, as
  // the host's OpenGL computes them: a browser's own may be off by 1e-5,
  // which the hashes of noise shaders (fract(sin(x) * 43758.5453)) turn into
  // other noise altogether. The argument is reduced by quarter turns with
  // pi/2 split in three parts, then polynomials of the quarter turn.
  var fragmentPrelude = [
    '#version 300 es',
    'precision highp float;',
    'precision highp int;',
    'precision highp sampler2D;',
    'out vec4 isf2orvy_FragColor;',
    'in vec4 isf2orvy_TexCoord[1];',
    'vec4 isf2orvy_texture2D(sampler2D s, vec2 p) { return texture(s, p); }',
    'vec4 isf2orvy_texture2D(sampler2D s, vec2 p, float bias) { return texture(s, p, bias); }',
    'vec4 isf2orvy_texture2DProj(sampler2D s, vec3 p) { return textureProj(s, p); }',
    'vec4 isf2orvy_texture2DProj(sampler2D s, vec4 p) { return textureProj(s, p); }',
    'float isf2orvy_sine(float x, int quarter) {',
    '  float k = floor(x * 0.63661977 + 0.5);',
    '  float r = ((x - k * 1.5703125) - k * 4.837512969970703125e-4) - k * 7.54978995489188216e-8;',
    '  float z = r * r;',
    '  float s = r + r * z * (-1.6666654611e-1 + z * (8.3321608736e-3 + z * -1.9515295891e-4));',
    '  float c = 1.0 - 0.5 * z',
    '    + z * z * (4.166664568298827e-2 + z * (-1.388731625493765e-3 + z * 2.443315711809948e-5));',
    '  int q = (int(k) + quarter) & 3;',
    '  return q == 0 ? s : q == 1 ? c : q == 2 ? -s : -c;',
    '}',
    'vec2 isf2orvy_sine(vec2 x, int q) { return vec2(isf2orvy_sine(x.x, q), isf2orvy_sine(x.y, q)); }',
    'vec3 isf2orvy_sine(vec3 x, int q) { return vec3(isf2orvy_sine(x.xy, q), isf2orvy_sine(x.z, q)); }',
    'vec4 isf2orvy_sine(vec4 x, int q) { return vec4(isf2orvy_sine(x.xy, q), isf2orvy_sine(x.zw, q)); }',
    '#define sin(x) isf2orvy_sine(x, 0)',
    '#define cos(x) isf2orvy_sine(x, 1)',
    reservedWords.map(function (word) { return '#define ' + word + ' isf2orvy_' + word; }).join('\n'),
    '#define gl_FragColor isf2orvy_FragColor',
    '#define gl_TexCoord isf2orvy_TexCoord',
    '#define texture2D isf2orvy_texture2D',
    '#define texture2DProj isf2orvy_texture2DProj',
    '#line 1',
    ''
  ].join('\n');

  // The host draws one quad over the frame with texture coordinates from
  // (0, 0) at the lower left to (1, 1) at the upper right.
  var vertexText = [
    '#version 300 es',
    'in vec2 isf2orvy_corner;',
    'out vec4 isf2orvy_TexCoord[1];',
    'void main() {',
    '  isf2orvy_TexCoord[0] = vec4(isf2orvy_corner * 0.5 + 0.5, 0.0, 1.0);',
    '  gl_Position = vec4(isf2orvy_corner, 0.0, 1.0);',
    '}'
  ].join('\n');

  var host = null;      // from live/host.js
  var shaders = {};     // by .fs name, from live/NAME.js
  var waiting = {};     // .fs name: the callbacks of a load under way
  var gl = null;        // false when the browser has no WebGL 2
  var canvas = null, vertexShader = null, quad = null;
  var hostTextures = null;  // a promise of the pictures of host.js as textures
  var panel = null;
  var view = null;        // the open view

  // ---- data -------------------------------------------------------------

  function bytesOf(base64) {
    var text = atob(base64);
    var bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  function load(card) {
    var name = card.getAttribute('data-fs');
    if (shaders[name]) return Promise.resolve(shaders[name]);
    return new Promise(function (resolve, reject) {
      var list = waiting[name] = waiting[name] || [];
      list.push({resolve: resolve, reject: reject});
      if (list.length > 1) return;
      var script = document.createElement('script');
      script.src = card.getAttribute('data-live');
      script.onerror = function () {
        delete waiting[name];
        list.forEach(function (w) { w.reject(new Error(texts.loadFailed)); });
      };
      document.head.appendChild(script);
    });
  }

  // ---- WebGL ------------------------------------------------------------

  function setUp() {
    if (gl !== null) return gl;
    canvas = document.createElement('canvas');
    canvas.width = host.size[0];
    canvas.height = host.size[1];
    gl = canvas.getContext('webgl2', {alpha: true, premultipliedAlpha: false, antialias: false,
      depth: false, stencil: false, preserveDrawingBuffer: true}) || false;
    if (!gl) return gl;
    canvas.addEventListener('webglcontextlost', function (e) {
      e.preventDefault();
      if (view) showError(view, texts.contextLost, false);
    });
    canvas.addEventListener('webglcontextrestored', function () {
      var card = view && view.card;
      closeView();
      makeSharedObjects();
      if (card) openCard(card, false);
    });
    canvas.addEventListener('dragover', function (e) { e.preventDefault(); });
    canvas.addEventListener('drop', dropped);
    makeSharedObjects();
    return gl;
  }

  function makeSharedObjects() {
    vertexShader = gl.createShader(gl.VERTEX_SHADER);
    gl.shaderSource(vertexShader, vertexText);
    gl.compileShader(vertexShader);
    quad = gl.createBuffer();
    gl.bindBuffer(gl.ARRAY_BUFFER, quad);
    gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([-1, -1, 1, -1, -1, 1, 1, 1]), gl.STATIC_DRAW);
    gl.enableVertexAttribArray(0);
    gl.vertexAttribPointer(0, 2, gl.FLOAT, false, 0, 0);
    var pictures = host.images.concat([host.test_pattern]).map(pictureTexture);
    hostTextures = Promise.all(pictures).then(function (list) {
      return {images: list.slice(0, -1), pattern: list[list.length - 1]};
    });
  }

  // A picture of host.js as a texture (a promise of it).
  function pictureTexture(picture) {
    var image = new Image();
    image.src = 'data:image/png;base64,' + picture.png;
    return image.decode().then(function () {
      var texture = newTexture();
      uploadElement(texture, image);
      return {texture: texture, width: picture.width, height: picture.height};
    });
  }

  function newTexture() {
    var texture = gl.createTexture();
    gl.activeTexture(gl.TEXTURE0);
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.pixelStorei(gl.UNPACK_ALIGNMENT, 1);
    gl.pixelStorei(gl.UNPACK_PREMULTIPLY_ALPHA_WEBGL, false);
    gl.pixelStorei(gl.UNPACK_COLORSPACE_CONVERSION_WEBGL, gl.NONE);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
    return texture;
  }

  // A picture, or a video frame, with its top row at t = 1 and its bytes as
  // they are in the file, as the host has it.
  function uploadElement(texture, element) {
    gl.activeTexture(gl.TEXTURE0);
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.pixelStorei(gl.UNPACK_FLIP_Y_WEBGL, true);
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA8, gl.RGBA, gl.UNSIGNED_BYTE, element);
    gl.pixelStorei(gl.UNPACK_FLIP_Y_WEBGL, false);
  }

  // The browser's log with each message placed in the user's file, as the
  // gallery places the compiler's: "ERROR: 0:12: text" names .frag line 12.
  function placedLog(shader, log) {
    return log.split('\n').filter(function (line) { return line.trim() !== ''; }).map(function (line) {
      var m = /^(ERROR|WARNING): \d+:(\d+): (.*)$/.exec(line);
      if (!m) return shader.unplaced + line;
      var at = Number(m[2]);
      var place = at >= 1 && at <= shader.places.length ? shader.places[at - 1] : shader.unplaced;
      return place + m[1].toLowerCase() + ': ' + m[3];
    }).join('\n');
  }

  function compile(shader) {
    var fragment = gl.createShader(gl.FRAGMENT_SHADER);
    gl.shaderSource(fragment, fragmentPrelude + shader.frag);
    gl.compileShader(fragment);
    if (!gl.getShaderParameter(fragment, gl.COMPILE_STATUS)) {
      var log = gl.getShaderInfoLog(fragment) || '';
      gl.deleteShader(fragment);
      return {error: placedLog(shader, log)};
    }
    var program = gl.createProgram();
    gl.attachShader(program, vertexShader);
    gl.attachShader(program, fragment);
    gl.bindAttribLocation(program, 0, 'isf2orvy_corner');
    gl.linkProgram(program);
    gl.deleteShader(fragment);
    if (!gl.getProgramParameter(program, gl.LINK_STATUS)) {
      var linkLog = gl.getProgramInfoLog(program) || '';
      gl.deleteProgram(program);
      return {error: placedLog(shader, linkLog)};
    }
    return {program: program};
  }

  // How the host sets a value of each GLSL type, and the declared types that
  // accept it (OpenGL sets a bool through either call).
  function setters() {
    return {
      float: {accepts: [gl.FLOAT, gl.BOOL], set: function (at, v) { gl.uniform1f(at, v[0]); }},
      int: {accepts: [gl.INT, gl.BOOL, gl.SAMPLER_2D],
            set: function (at, v) { gl.uniform1i(at, Math.trunc(v[0])); }},
      vec2: {accepts: [gl.FLOAT_VEC2, gl.BOOL_VEC2], set: function (at, v) { gl.uniform2f(at, v[0], v[1]); }},
      vec4: {accepts: [gl.FLOAT_VEC4, gl.BOOL_VEC4],
             set: function (at, v) { gl.uniform4f(at, v[0], v[1], v[2], v[3]); }}
    };
  }

  // The program's uniforms that the host sets, each with the GLSL type of its
  // value and a function of the view giving the value. Throws the message of
  // a uniform declared with another type, as the gallery's renderer does.
  function hostBindings(program, shader) {
    var active = {};
    var count = gl.getProgramParameter(program, gl.ACTIVE_UNIFORMS);
    for (var i = 0; i < count; i++) {
      var info = gl.getActiveUniform(program, i);
      active[info.name] = info.type;
    }
    var kinds = setters(), bindings = [];
    function bind(name, type, value) {
      if (!(name in active)) return;
      if (kinds[type].accepts.indexOf(active[name]) < 0) throw new Error(texts.wrongType(name));
      bindings.push({at: gl.getUniformLocation(program, name), set: kinds[type].set, value: value});
    }
    var slots = imageSlotCount(Object.keys(active));
    for (var n = 0; n < slots; n++) {
      bind(host.image_sampler_prefix + n, 'int', (function (unit) {
        return function () { return [unit]; };
      })(n));
      bind(host.image_size_prefix + n, 'vec2', (function (unit) {
        return function (v) { var t = v.images[unit]; return [t.width, t.height]; };
      })(n));
    }
    var builtin = {
      frame_size: function () { return [canvas.width, canvas.height]; },
      time: function (v) { return [v.time]; },
      time_delta: function (v) { return [v.delta]; },
      date: function (v) { return v.date(); },
      frame_index: function (v) { return [v.frame]; }
    };
    host.builtins.forEach(function (b) { bind(b.name, b.type, builtin[b.value]); });
    shader.controls.forEach(function (c) {
      bind(c.name, c.uniform_type, function (v) {
        return c.kind === 'event' ? [v.pulse ? 1 : 0] : v.values[c.name];
      });
    });
    return {bindings: bindings, slots: slots};
  }

  // One more than the highest N of a uniform named prefix + N (up to four
  // digits), as the gallery's renderer counts the image inputs.
  function imageSlotCount(names) {
    var slots = 0;
    names.forEach(function (name) {
      [host.image_sampler_prefix, host.image_size_prefix].forEach(function (prefix) {
        var rest = name.slice(prefix.length);
        if (name.indexOf(prefix) === 0 && /^[0-9]{1,4}$/.test(rest))
          slots = Math.max(slots, Number(rest) + 1);
      });
    });
    return slots;
  }

  function drawView(v) {
    v.images.forEach(function (image, unit) {
      if (image.video && image.video.readyState >= 2) uploadElement(image.texture, image.video);
      gl.activeTexture(gl.TEXTURE0 + unit);
      gl.bindTexture(gl.TEXTURE_2D, image.texture);
    });
    gl.activeTexture(gl.TEXTURE0);
    gl.useProgram(v.program);
    v.bindings.forEach(function (b) { b.set(b.at, b.value(v)); });
    gl.viewport(0, 0, canvas.width, canvas.height);
    gl.clearColor(0, 0, 0, 0);
    gl.clear(gl.COLOR_BUFFER_BIT);
    gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);
    v.pulse = false;
    v.readout.textContent = texts.clock(v.time, v.frame);
  }

  function readFrame() {
    var pixels = new Uint8Array(canvas.width * canvas.height * 4);
    gl.readPixels(0, 0, canvas.width, canvas.height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    return pixels;
  }

  // The frame (rows from the bottom, as WebGL reads them) reduced as the
  // gallery reduces the thumbnail: blocks x blocks means, rows from the top,
  // block b covering b * side / blocks up to (b + 1) * side / blocks.
  function reduce(pixels, width, height, blocks) {
    var out = new Uint8Array(blocks * blocks * 4);
    function edge(b, side) { return Math.floor(b * side / blocks); }
    for (var by = 0; by < blocks; by++) {
      var y0 = edge(by, height), y1 = Math.min(Math.max(edge(by + 1, height), y0 + 1), height);
      for (var bx = 0; bx < blocks; bx++) {
        var x0 = edge(bx, width), x1 = Math.min(Math.max(edge(bx + 1, width), x0 + 1), width);
        var sums = [0, 0, 0, 0], count = (y1 - y0) * (x1 - x0);
        for (var y = y0; y < y1; y++) {
          var row = (height - 1 - y) * width;
          for (var x = x0; x < x1; x++)
            for (var c = 0; c < 4; c++) sums[c] += pixels[(row + x) * 4 + c];
        }
        for (c = 0; c < 4; c++)
          out[(by * blocks + bx) * 4 + c] = Math.floor((sums[c] + Math.floor(count / 2)) / count);
      }
    }
    return out;
  }

  // The largest of the four channels' mean absolute differences.
  function difference(a, b) {
    var sums = [0, 0, 0, 0];
    for (var i = 0; i < a.length; i++) sums[i % 4] += Math.abs(a[i] - b[i]);
    return Math.max.apply(null, sums) / (a.length / 4);
  }

  // ---- the view ---------------------------------------------------------

  function element(tag, attributes, text) {
    var e = document.createElement(tag);
    Object.keys(attributes || {}).forEach(function (k) { e.setAttribute(k, attributes[k]); });
    if (text !== undefined) e.textContent = text;
    return e;
  }

  function makePanel() {
    panel = element('aside', {id: 'live-panel', hidden: ''});
    var head = element('div', {'class': 'row'});
    panel.heading = element('strong');
    var close = element('button', {type: 'button', 'class': 'live-close'}, texts.close);
    close.addEventListener('click', closeView);
    head.appendChild(panel.heading);
    head.appendChild(close);
    panel.appendChild(head);
    panel.content = element('div');
    panel.appendChild(panel.content);
    document.body.appendChild(panel);
  }

  function showError(v, message, onCard) {
    var pre = element('pre', {'class': 'live-error'}, message);
    v.panelBody.appendChild(pre);
    if (!onCard) return;
    var old = v.card.querySelector('.live-error');
    if (old) old.remove();
    var heading = v.card.querySelector('h2');
    v.card.insertBefore(element('pre', {'class': 'live-error'}, message), heading.nextSibling);
  }

  function colourText(rgba) {
    return '#' + rgba.slice(0, 3).map(function (c) {
      return ('0' + Math.round(Math.min(Math.max(c, 0), 1) * 255).toString(16)).slice(-2);
    }).join('');
  }

  // One control per parameter; each keeps v.values[name] and can be put back.
  function makeControl(v, c) {
    var label = element('label'), name = element('span', {}, c.name), input, output = element('output');
    var finite = c.min !== null && c.max !== null && Math.abs(c.max - c.min) <= 1e5;
    function changed() { if (!v.playing) drawView(v); }
    label.appendChild(name);
    if (c.kind === 'event') {
      input = element('button', {type: 'button', 'data-parameter': c.name}, c.name);
      label.replaceChild(input, name);
      input.addEventListener('click', function () {
        // One frame with the event set, then it is off again.
        v.pulse = true;
        if (!v.playing) {
          drawView(v);
          setTimeout(function () { if (view === v && !v.playing) drawView(v); }, 150);
        }
      });
      label.appendChild(input);
      return {element: label, reset: function () {}};
    }
    if (c.kind === 'on/off') {
      input = element('input', {type: 'checkbox', 'data-parameter': c.name});
      input.addEventListener('change', function () {
        v.values[c.name] = [input.checked ? 1 : 0];
        changed();
      });
    } else if (c.kind === 'colour') {
      input = element('input', {type: 'color', 'data-parameter': c.name});
      input.addEventListener('input', function () {
        var hex = input.value, alpha = v.values[c.name][3];
        v.values[c.name] = [1, 3, 5].map(function (i) {
          return parseInt(hex.substr(i, 2), 16) / 255;
        }).concat([alpha]);
        changed();
      });
    } else {
      var integer = c.kind === 'integer';
      var slider = finite && (!integer || c.max - c.min <= 64);
      input = element('input', {type: slider ? 'range' : 'number', 'data-parameter': c.name,
                                step: integer ? '1' : (slider ? String((c.max - c.min) / 1000) : 'any')});
      if (finite) { input.min = String(c.min); input.max = String(c.max); }
      input.addEventListener('input', function () {
        var value = Number(input.value);
        if (input.value === '' || !isFinite(value)) return;
        v.values[c.name] = [integer ? Math.round(value) : value];
        output.textContent = String(v.values[c.name][0]);
        changed();
      });
    }
    label.appendChild(input);
    label.appendChild(output);
    function reset() {
      v.values[c.name] = c.default.slice();
      if (c.kind === 'on/off') input.checked = c.default[0] !== 0;
      else if (c.kind === 'colour') input.value = colourText(c.default);
      else { input.value = String(c.default[0]); output.textContent = String(c.default[0]); }
    }
    reset();
    return {element: label, reset: reset};
  }

  function makeControls(v, shader) {
    var box = element('div', {'class': 'live-controls'}), points = {};
    v.controls = shader.controls.map(function (c) {
      var control = makeControl(v, c);
      var parent = box;
      if (c.point) {
        if (!points[c.point]) {
          points[c.point] = element('fieldset');
          points[c.point].appendChild(element('legend', {}, c.point));
          box.appendChild(points[c.point]);
        }
        parent = points[c.point];
      }
      parent.appendChild(control.element);
      return control;
    });
    return box;
  }

  function makeClock(v) {
    var row = element('div', {'class': 'row'});
    var play = element('button', {type: 'button', 'class': 'live-play'}, texts.pause);
    var reset = element('button', {type: 'button', 'class': 'live-reset'}, texts.reset);
    v.readout = element('span', {'class': 'live-clock'});
    play.addEventListener('click', function () { setPlaying(v, !v.playing); });
    reset.addEventListener('click', function () {
      v.controls.forEach(function (c) { c.reset(); });
      if (!v.playing) drawView(v);
    });
    v.playButton = play;
    [play, v.readout, reset].forEach(function (e) { row.appendChild(e); });
    return row;
  }

  function makeImageChooser(v, shader) {
    var row = element('div', {'class': 'row'});
    if (v.images.length === 0) {
      row.appendChild(element('span', {'class': 'muted'}, texts.noImageInput));
      return row;
    }
    row.appendChild(element('span', {'class': 'muted'}, texts.dropHere));
    v.imageTarget = element('select', {'class': 'live-image-target'});
    v.images.forEach(function (image, n) {
      var name = shader.images[n] || host.image_sampler_prefix + n;
      v.imageTarget.appendChild(element('option', {value: String(n)}, name));
    });
    row.appendChild(v.imageTarget);
    return row;
  }

  function setPlaying(v, playing) {
    v.playing = playing;
    v.playButton.textContent = playing ? texts.pause : texts.play;
    v.last = null;
    if (playing) v.request = requestAnimationFrame(function tick(now) {
      if (view !== v || !v.playing) return;
      if (v.last !== null) {
        v.delta = (now - v.last) / 1000;
        v.time += v.delta;
        v.frame += 1;
        drawView(v);
      }
      v.last = now;
      v.request = requestAnimationFrame(tick);
    });
  }

  function dropped(e) {
    e.preventDefault();
    var v = view, file = e.dataTransfer && e.dataTransfer.files[0];
    if (!v || !file || !v.imageTarget) return;
    var unit = Number(v.imageTarget.value), url = URL.createObjectURL(file);
    var texture = newTexture();
    function use(width, height, video) {
      if (view !== v) return;
      var old = v.images[unit];
      if (old.own) forget(old);
      v.images[unit] = {texture: texture, width: width, height: height, own: true, url: url, video: video};
      if (!v.playing) drawView(v);
      canvas.dispatchEvent(new CustomEvent('live-image', {detail: {unit: unit}}));
    }
    if (/^video\//.test(file.type)) {
      var video = element('video');
      video.muted = true;
      video.loop = true;
      video.playsInline = true;
      video.addEventListener('loadeddata', function () {
        uploadElement(texture, video);
        use(video.videoWidth, video.videoHeight, video);
      }, {once: true});
      video.src = url;
      video.play().catch(function () {});
      return;
    }
    var image = new Image();
    image.src = url;
    image.decode().then(function () {
      uploadElement(texture, image);
      use(image.naturalWidth, image.naturalHeight, null);
    }, function () { URL.revokeObjectURL(url); gl.deleteTexture(texture); });
  }

  function forget(image) {
    if (image.video) image.video.pause();
    URL.revokeObjectURL(image.url);
    gl.deleteTexture(image.texture);
  }

  function closeView() {
    if (!view) return;
    var v = view;
    view = null;
    v.playing = false;
    if (v.request) cancelAnimationFrame(v.request);
    v.images.forEach(function (image) { if (image.own) forget(image); });
    if (v.program) gl.deleteProgram(v.program);
    panel.hidden = true;
    panel.content.textContent = '';
    if (location.hash.indexOf('#live=') === 0)
      history.replaceState(null, '', location.pathname + location.search);
  }

  // Opens the view of the card's shader and draws its first frame with the
  // thumbnail's inputs. The view then plays unless `still`.
  function openView(card, shader, still, textures) {
    closeView();
    if (!panel) makePanel();
    var v = {card: card, shader: shader, time: host.first_frame.time, delta: host.first_frame.time_delta,
             frame: host.first_frame.frame_index, pulse: false, playing: false, values: {}, images: [],
             controls: [], panelBody: panel.content};
    // iDate: the gallery's date with the seconds running on with the time.
    v.date = function () {
      var d = host.first_frame.date.slice();
      d[3] += v.time - host.first_frame.time;
      return d;
    };
    shader.controls.forEach(function (c) { v.values[c.name] = c.default.slice(); });
    view = v;
    panel.heading.textContent = shader.name;
    panel.hidden = false;
    if (!setUp()) { showError(v, texts.noWebgl, false); return v; }
    var built = compile(shader);
    if (built.error) { showError(v, texts.cannotRun + '\n' + built.error, true); return v; }
    v.program = built.program;
    var bound;
    try {
      bound = hostBindings(v.program, shader);
    } catch (error) {
      showError(v, texts.cannotRun + '\n' + shader.unplaced + error.message, true);
      return v;
    }
    v.bindings = bound.bindings;
    for (var n = 0; n < bound.slots; n++) v.images.push(textures.images[n] || textures.pattern);
    panel.content.appendChild(canvas);
    panel.content.appendChild(makeClock(v));
    panel.content.appendChild(makeImageChooser(v, shader));
    panel.content.appendChild(makeControls(v, shader));
    drawView(v);
    v.ran = true;
    if (!still) setPlaying(v, true);
    return v;
  }

  function openCard(card, still) {
    return load(card).then(function (shader) {
      if (!setUp()) return openView(card, shader, still, null);
      return hostTextures.then(function (textures) { return openView(card, shader, still, textures); });
    }).catch(function (error) {
      // The shader's data did not load or a picture did not decode: said in
      // the panel, never thrown at the console.
      if (!panel) makePanel();
      panel.hidden = false;
      panel.content.textContent = '';
      panel.content.appendChild(element('pre', {'class': 'live-error'}, error.message));
      return null;
    });
  }

  function cardNamed(name) {
    var cards = document.querySelectorAll('main .card[data-live]');
    for (var i = 0; i < cards.length; i++) if (cards[i].getAttribute('data-fs') === name) return cards[i];
    return null;
  }

  // ---- #check-live -----------------------------------------------------

  function checkAll() {
    var cards = Array.prototype.slice.call(document.querySelectorAll('main .card[data-live]'));
    var body = document.body, ran = 0, matched = 0;
    body.setAttribute('data-live-total', String(cards.length));
    function record() {
      body.setAttribute('data-live-ran', String(ran));
      body.setAttribute('data-live-matched', String(matched));
    }
    record();
    function next(i) {
      if (i === cards.length) {
        closeView();
        body.setAttribute('data-live-done', 'yes');
        return;
      }
      var card = cards[i];
      openCard(card, true).then(function (v) {
        var state = 'failed';
        if (v && v.ran) {
          ran++;
          var thumbnail = bytesOf(v.shader.thumbnail);
          state = 'no-thumbnail';
          if (thumbnail.length > 0) {
            var frame = reduce(readFrame(), canvas.width, canvas.height, host.check_blocks);
            var diff = difference(frame, thumbnail);
            card.setAttribute('data-live-difference', diff.toFixed(2));
            state = diff <= 3 ? 'matched' : 'differs';
            if (state === 'matched') matched++;
          }
        }
        card.setAttribute('data-live-state', state);
        record();
        setTimeout(function () { next(i + 1); }, 0);
      });
    }
    next(0);
  }

  // ---- the page ---------------------------------------------------------

  window.isf2orvyLive = {
    host: function (data) { host = data; },
    shader: function (data) {
      shaders[data.name] = data;
      (waiting[data.name] || []).forEach(function (w) { w.resolve(data); });
      delete waiting[data.name];
    },
    // For tests and the console: open a view by .fs name (a promise of it,
    // drawn and still), draw the open view now, read its last frame.
    open: function (name) {
      var card = cardNamed(name);
      return card ? openCard(card, true) : Promise.resolve(null);
    },
    draw: function () { if (view && view.ran) drawView(view); return readFrame(); },
    read: readFrame,
    canvas: function () { return canvas; }
  };

  function fromAddress() {
    var hash = location.hash;
    if (hash === '#check-live') checkAll();
    else if (hash.indexOf('#live=') === 0) {
      var card = cardNamed(decodeURIComponent(hash.slice(6)));
      if (card) openCard(card, false);
    }
  }

  document.addEventListener('DOMContentLoaded', function () {
    if (!host) return;
    document.head.appendChild(element('style', {}, style));
    document.querySelectorAll('main .card[data-live]').forEach(function (card) {
      var button = element('button', {type: 'button', 'class': 'live-open'}, texts.open);
      button.addEventListener('click', function () {
        history.replaceState(null, '', '#live=' + encodeURIComponent(card.getAttribute('data-fs')));
        openCard(card, false);
      });
      card.insertBefore(button, card.querySelector('h2'));
    });
    fromAddress();
    window.addEventListener('hashchange', fromAddress);
  });
})();
