// Rescales the colour: u_colorTransform.x is a level subtracted first, .y the gain,
// .z the saturation kept (0 grey, 1 full colour), .w the final scale.
uniform sampler2D u_texture;
uniform vec4 u_colorTransform;

varying lowp vec4 v_color;
varying mediump vec2 v_texCoord;

void main()
{
    vec4 texel = texture2D(u_texture, v_texCoord);
    vec3 colour = max((texel.rgb - vec3(u_colorTransform.x)) * u_colorTransform.y, vec3(0.0));
    float luma = dot(colour, vec3(0.299, 0.587, 0.114));
    colour = mix(vec3(luma), colour, u_colorTransform.z) * u_colorTransform.w;
    gl_FragColor = vec4(colour, texel.a) * v_color;
}
