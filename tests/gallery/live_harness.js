// Drives the live views of the examples' gallery as a user would, through
// their controls and a dropped picture, and writes what it saw on <body>
// for the test to read from the browser's DOM dump.
(function () {
  'use strict';
  var live = window.isf2orvyLive;
  function same(a, b) {
    if (a.length !== b.length) return false;
    for (var i = 0; i < a.length; i++) if (a[i] !== b[i]) return false;
    return true;
  }
  function say(name, value) { document.body.setAttribute('data-test-' + name, value); }
  function later(ms) { return new Promise(function (resolve) { setTimeout(resolve, ms); }); }
  function control(name) { return document.querySelector('#live-panel [data-parameter="' + name + '"]'); }

  // A slider moves the spot of light; reset puts it back.
  function sliderAndReset() {
    return live.open('spotlight.fs').then(function () {
      var start = live.read();
      var radius = control('radius');
      radius.value = '0.6';
      radius.dispatchEvent(new Event('input'));
      var moved = live.read();
      document.querySelector('#live-panel .live-reset').click();
      var back = live.read();
      say('control', (same(start, moved) ? 'unchanged' : 'changed') + ' ' +
                     (same(start, back) ? 'reset' : 'not-reset'));
    });
  }

  // The event is on for one frame, then off again.
  function eventPulse() {
    return live.open('frame_counter.fs').then(function () {
      var start = live.read();
      control('flash').click();
      var pulsed = live.read();
      return later(400).then(function () {
        var after = live.read();
        say('event', (same(start, pulsed) ? 'not-on' : 'on') + ' ' +
                     (same(start, after) ? 'off' : 'not-off'));
      });
    });
  }

  // A red picture dropped on the canvas feeds the first image input.
  function droppedImage() {
    return live.open('blend.fs').then(function () {
      var picture = document.createElement('canvas');
      picture.width = picture.height = 4;
      var context = picture.getContext('2d');
      context.fillStyle = '#ff0000';
      context.fillRect(0, 0, 4, 4);
      return new Promise(function (resolve) { picture.toBlob(resolve, 'image/png'); });
    }).then(function (blob) {
      var transfer = new DataTransfer();
      transfer.items.add(new File([blob], 'red.png', {type: 'image/png'}));
      var canvas = live.canvas();
      var arrived = new Promise(function (resolve) {
        canvas.addEventListener('live-image', resolve, {once: true});
      });
      canvas.dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true, cancelable: true}));
      return arrived;
    }).then(function () {
      // amount 0.5 mixes the red picture into every pixel half and half.
      var frame = live.read(), red = true;
      for (var i = 0; i < frame.length; i += 4) red = red && frame[i] >= 127 && frame[i + 1] <= 128;
      say('drop', red ? 'red' : 'not-red');
    });
  }

  document.addEventListener('DOMContentLoaded', function () {
    sliderAndReset().then(eventPulse).then(droppedImage).then(function () { say('done', 'yes'); },
      function (error) { say('failed', String(error)); });
  });
})();
