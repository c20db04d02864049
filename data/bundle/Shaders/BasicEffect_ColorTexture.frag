// Premultiplied texel tinted by the vertex colour.
uniform sampler2D u_texture;

varying lowp vec4 v_color;
varying mediump vec2 v_texCoord;

void main()
{
    gl_FragColor = texture2D(u_texture, v_texCoord) * v_color;
}
