// One pass of a separable blur: 2 * NUM_SAMPLES + 1 taps along u_blurUVDir (the step
// between taps in texture coordinates) with binomial weights. With CLAMP_UV every tap
// stays inside u_uvClamp (left, top, right, bottom in texture coordinates), so a region
// of an atlas never samples its neighbours.
uniform sampler2D u_texture;
uniform vec2 u_blurUVDir;
#ifdef CLAMP_UV
uniform vec4 u_uvClamp;
#endif

varying lowp vec4 v_color;
varying mediump vec2 v_texCoord;

vec4 tap(float offset)
{
    vec2 uv = v_texCoord + u_blurUVDir * offset;
#ifdef CLAMP_UV
    uv = clamp(uv, u_uvClamp.xy, u_uvClamp.zw);
#endif
    return texture2D(u_texture, uv);
}

void main()
{
    // Row 2 * NUM_SAMPLES of Pascal's triangle, built up tap by tap.
    float weight = 1.0;
    float total = 0.0;
    vec4 sum = vec4(0.0);
    const int taps = 2 * NUM_SAMPLES + 1;
    for (int i = 0; i < taps; ++i) {
        sum += tap(float(i - NUM_SAMPLES)) * weight;
        total += weight;
        weight = weight * float(taps - 1 - i) / float(i + 1);
    }
    gl_FragColor = sum / total * v_color;
}
