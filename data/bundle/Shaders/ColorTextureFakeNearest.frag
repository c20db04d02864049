// Nearest-looking magnification from a linearly filtered texture: inside each texel the
// coordinate holds still, and only a band one screen pixel wide at the texel's edge
// blends into the neighbour, so scaled pixel art stays sharp without shimmering.
// u_filterInfo: xy screen pixels per texel, zw the size of one texel in texture coordinates.
uniform sampler2D u_texture;
uniform vec4 u_filterInfo;

varying lowp vec4 v_color;
varying mediump vec2 v_texCoord;

void main()
{
    vec2 texelSize = max(u_filterInfo.zw, vec2(1.0e-6));
    vec2 pixelsPerTexel = max(u_filterInfo.xy, vec2(1.0));
    vec2 texel = v_texCoord / texelSize;
    vec2 seam = floor(texel + 0.5);
    texel = seam + clamp((texel - seam) * pixelsPerTexel, -0.5, 0.5);
    gl_FragColor = texture2D(u_texture, texel * texelSize) * v_color;
}
