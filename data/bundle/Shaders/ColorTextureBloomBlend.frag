// Puts the bloom image (u_texture) over the scene (u_textureTarget, on texture unit 1).
// The bloom is raised to u_power and brightened by u_sourceOverBurn; the scene is kept by
// u_targetConstantFactor plus u_targetInverseSourceFactor times the part the bloom leaves,
// so the defaults (0, 0, 1, 1) give a screen blend. u_uvTargetTransform maps the bloom's
// texture coordinates into the scene's: scale in xy, offset in zw.
uniform sampler2D u_texture;
uniform sampler2D u_textureTarget;
uniform vec4 u_uvTargetTransform;
uniform float u_sourceOverBurn;
uniform float u_targetConstantFactor;
uniform float u_targetInverseSourceFactor;
uniform float u_power;

varying lowp vec4 v_color;
varying mediump vec2 v_texCoord;

void main()
{
    vec3 source = pow(texture2D(u_texture, v_texCoord).rgb, vec3(u_power)) * (1.0 + u_sourceOverBurn);
    vec2 targetUV = v_texCoord * u_uvTargetTransform.xy + u_uvTargetTransform.zw;
    vec4 target = texture2D(u_textureTarget, targetUV);
    vec3 keep = vec3(u_targetConstantFactor) + u_targetInverseSourceFactor * (vec3(1.0) - clamp(source, 0.0, 1.0));
    gl_FragColor = vec4(source + target.rgb * keep, target.a) * v_color;
}
