// Our character, Orvo (original artwork): an SVG drawing whose parts carry
// data-part, data-mouth and data-prop names that the stage poses.

export const CHARACTER_SVG = `<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 128 128" width="128" height="128" role="img" aria-label="Orvo, the presentation guide">
  <!-- Orvo: a round lantern-sprite with an antenna light. Original artwork
       for ViewOrvo. Parts marked data-part are moved by the stage; props
       (data-prop) are shown one at a time by the animations. -->
  <defs>
    <radialGradient id="orvo-body-fill" cx="0.38" cy="0.3" r="0.8">
      <stop offset="0" stop-color="#7fa6ff"/>
      <stop offset="0.55" stop-color="#4a72ee"/>
      <stop offset="1" stop-color="#2c44b8"/>
    </radialGradient>
    <radialGradient id="orvo-glow-fill">
      <stop offset="0" stop-color="#fff3b0" stop-opacity="0.95"/>
      <stop offset="1" stop-color="#ffd24a" stop-opacity="0"/>
    </radialGradient>
  </defs>
  <ellipse data-part="shadow" cx="64" cy="122" rx="30" ry="4.5" fill="#000" opacity="0.18"/>
  <g data-part="root">
    <g data-part="body">
      <ellipse cx="49" cy="116" rx="10" ry="5.5" fill="#2c44b8"/>
      <ellipse cx="79" cy="116" rx="10" ry="5.5" fill="#2c44b8"/>
      <g data-part="arm-left">
        <rect x="24" y="72" width="11" height="30" rx="5.5" fill="#3a5ad8"/>
        <circle cx="29.5" cy="101" r="6.5" fill="#f4f6ff" stroke="#2c44b8" stroke-width="1.5"/>
      </g>
      <g data-part="arm-right">
        <rect x="93" y="72" width="11" height="30" rx="5.5" fill="#3a5ad8"/>
        <circle cx="98.5" cy="101" r="6.5" fill="#f4f6ff" stroke="#2c44b8" stroke-width="1.5"/>
        <g data-prop="wand" display="none">
          <line x1="98.5" y1="101" x2="112" y2="122" stroke="#6b3d1f" stroke-width="3" stroke-linecap="round"/>
          <path data-part="wand-star" d="M112 112 l2.6 6 6.4 .6 -4.9 4.2 1.5 6.3 -5.6 -3.4 -5.6 3.4 1.5 -6.3 -4.9 -4.2 6.4 -.6z" fill="#ffd24a" stroke="#e0a100" stroke-width="1"/>
        </g>
        <g data-prop="pencil" display="none">
          <g data-part="pencil-tip">
            <rect x="95" y="104" width="5" height="20" rx="1" fill="#ffb347" stroke="#c46d00" stroke-width="1"/>
            <path d="M95 124 l2.5 5 2.5 -5z" fill="#5b3a1a"/>
          </g>
        </g>
        <g data-prop="lens" display="none">
          <line x1="98.5" y1="101" x2="104" y2="116" stroke="#5b3a1a" stroke-width="3.5" stroke-linecap="round"/>
          <circle cx="108" cy="123" r="8" fill="#d9f2ff" fill-opacity="0.6" stroke="#34495e" stroke-width="2.5"/>
        </g>
      </g>
      <ellipse cx="64" cy="78" rx="37" ry="41" fill="url(#orvo-body-fill)"/>
      <ellipse cx="64" cy="95" rx="22" ry="19" fill="#e5ecff" opacity="0.9"/>
      <path d="M52 99 q12 8 24 0" fill="none" stroke="#b8c6f5" stroke-width="2" stroke-linecap="round"/>
      <ellipse cx="40" cy="80" rx="6" ry="3.5" fill="#ff8fb1" opacity="0.45"/>
      <ellipse cx="88" cy="80" rx="6" ry="3.5" fill="#ff8fb1" opacity="0.45"/>
      <g data-part="eye-left">
        <ellipse cx="50" cy="64" rx="10" ry="11.5" fill="#fff"/>
        <g data-part="pupil-left">
          <circle cx="50" cy="65" r="5.2" fill="#1b2340"/>
          <circle cx="52" cy="62.6" r="1.7" fill="#fff"/>
        </g>
        <ellipse data-part="lid-left" cx="50" cy="64" rx="10.6" ry="12" fill="#4a72ee"/>
      </g>
      <g data-part="eye-right">
        <ellipse cx="78" cy="64" rx="10" ry="11.5" fill="#fff"/>
        <g data-part="pupil-right">
          <circle cx="78" cy="65" r="5.2" fill="#1b2340"/>
          <circle cx="80" cy="62.6" r="1.7" fill="#fff"/>
        </g>
        <ellipse data-part="lid-right" cx="78" cy="64" rx="10.6" ry="12" fill="#4a72ee"/>
      </g>
      <path data-part="brow-left" d="M42 48.5 q8 -4 15 0" fill="none" stroke="#1b2340" stroke-width="3" stroke-linecap="round"/>
      <path data-part="brow-right" d="M71 48.5 q7 -4 15 0" fill="none" stroke="#1b2340" stroke-width="3" stroke-linecap="round"/>
      <g data-part="mouth">
        <path data-mouth="smile" d="M55 83 q9 8 18 0" fill="none" stroke="#1b2340" stroke-width="3" stroke-linecap="round"/>
        <g data-mouth="grin" display="none">
          <path d="M53 82 q11 14 22 0z" fill="#1b2340" stroke="#1b2340" stroke-width="2" stroke-linejoin="round"/>
          <path d="M58 88 q6 -3 12 0 q-6 4 -12 0z" fill="#ff7a9a"/>
        </g>
        <ellipse data-mouth="open" display="none" cx="64" cy="86" rx="7" ry="5.5" fill="#1b2340"/>
        <ellipse data-mouth="o" display="none" cx="64" cy="86" rx="3.8" ry="4.6" fill="#1b2340"/>
        <path data-mouth="flat" display="none" d="M57 86 h14" fill="none" stroke="#1b2340" stroke-width="3" stroke-linecap="round"/>
        <path data-mouth="frown" display="none" d="M56 89 q8 -7 16 0" fill="none" stroke="#1b2340" stroke-width="3" stroke-linecap="round"/>
        <path data-mouth="wavy" display="none" d="M54 87 q3.5 -4 7 0 t7 0 t7 0" fill="none" stroke="#1b2340" stroke-width="2.6" stroke-linecap="round"/>
      </g>
      <line x1="64" y1="38" x2="64" y2="23" stroke="#2c44b8" stroke-width="3" stroke-linecap="round"/>
      <circle data-part="glow" cx="64" cy="18" r="15" fill="url(#orvo-glow-fill)" opacity="0"/>
      <circle cx="64" cy="18" r="6" fill="#ffd24a" stroke="#e0a100" stroke-width="1.5"/>
      <circle cx="62" cy="16" r="1.8" fill="#fff8d6"/>
      <g data-prop="book" display="none">
        <path d="M40 96 l24 6 24 -6 v20 l-24 6 -24 -6z" fill="#c0392b" stroke="#7b241c" stroke-width="1.5" stroke-linejoin="round"/>
        <path d="M43 97.5 l21 5 21 -5 v16 l-21 5 -21 -5z" fill="#fdfaf0"/>
        <path d="M64 102.5 v16" stroke="#7b241c" stroke-width="1.2"/>
        <path data-part="book-lines" d="M47 103 l13 3 M47 107 l13 3 M68 106 l13 -3 M68 110 l13 -3" stroke="#9aa4b5" stroke-width="1"/>
      </g>
    </g>
    <g data-prop="exclaim" display="none">
      <path d="M104 6 h8 l-1.5 20 h-5z" fill="#e74c3c"/>
      <circle cx="108" cy="32" r="3.5" fill="#e74c3c"/>
    </g>
    <g data-prop="question" display="none">
      <path d="M100 14 q0 -9 9 -9 q9 0 9 8 q0 5 -6 8 q-3 2 -3 6 v2" fill="none" stroke="#8e44ad" stroke-width="4" stroke-linecap="round"/>
      <circle cx="109" cy="36" r="3" fill="#8e44ad"/>
    </g>
    <g data-prop="thought" display="none">
      <circle cx="90" cy="32" r="3" fill="#fff" stroke="#7f8c9d" stroke-width="1.2"/>
      <circle cx="98" cy="22" r="4.5" fill="#fff" stroke="#7f8c9d" stroke-width="1.2"/>
      <ellipse cx="111" cy="10" rx="12" ry="8" fill="#fff" stroke="#7f8c9d" stroke-width="1.2"/>
    </g>
    <g data-prop="bulb" display="none">
      <circle cx="106" cy="14" r="9" fill="#fff27a" stroke="#e0a100" stroke-width="1.5"/>
      <rect x="102" y="22" width="8" height="6" rx="1.5" fill="#95a5a6"/>
      <path d="M106 0 v-3 M94 6 l-3 -2 M118 6 l3 -2" stroke="#e0a100" stroke-width="2" stroke-linecap="round"/>
    </g>
    <g data-prop="gear" display="none">
      <g data-part="gear-wheel">
        <circle cx="108" cy="18" r="9" fill="none" stroke="#7f8c8d" stroke-width="6" stroke-dasharray="4.7 2.4"/>
        <circle cx="108" cy="18" r="7" fill="#95a5a6"/>
        <circle cx="108" cy="18" r="3" fill="#ecf0f1"/>
      </g>
    </g>
    <g data-prop="sparkles" display="none">
      <g data-part="sparkle-set">
        <path d="M18 22 l2 6 6 2 -6 2 -2 6 -2 -6 -6 -2 6 -2z" fill="#ffd24a"/>
        <path d="M108 30 l1.6 4.4 4.4 1.6 -4.4 1.6 -1.6 4.4 -1.6 -4.4 -4.4 -1.6 4.4 -1.6z" fill="#ff8fb1"/>
        <path d="M98 4 l1.4 3.6 3.6 1.4 -3.6 1.4 -1.4 3.6 -1.4 -3.6 -3.6 -1.4 3.6 -1.4z" fill="#7fe3c4"/>
        <path d="M30 2 l1.2 3 3 1.2 -3 1.2 -1.2 3 -1.2 -3 -3 -1.2 3 -1.2z" fill="#7fa6ff"/>
      </g>
    </g>
    <g data-prop="zzz" display="none">
      <g data-part="zzz-letters" fill="none" stroke="#5d6d7e" stroke-width="2" stroke-linecap="round" stroke-linejoin="round">
        <path d="M92 30 h7 l-7 8 h7"/>
        <path d="M102 18 h9 l-9 10 h9"/>
        <path d="M114 4 h10 l-10 11 h10"/>
      </g>
    </g>
    <g data-prop="waves" display="none">
      <g data-part="wave-set" fill="none" stroke="#16a085" stroke-width="2.5" stroke-linecap="round">
        <path d="M104 56 q5 8 0 16"/>
        <path d="M110 52 q8 12 0 24"/>
        <path d="M116 48 q10 16 0 32"/>
      </g>
    </g>
  </g>
</svg>
`;
