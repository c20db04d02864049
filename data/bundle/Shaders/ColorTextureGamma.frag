// Raises the colour to u_power; 1.0 leaves the image as it is.
uniform sampler2D u_texture;
uniform float u_power;

varying lowp vec4 v_color;
varying mediump vec2 v_texCoord;

void main()
{
    vec4 texel = texture2D(u_texture, v_texCoord);
    gl_FragColor = vec4(pow(texel.rgb, vec3(u_power)), texel.a) * v_color;
}
